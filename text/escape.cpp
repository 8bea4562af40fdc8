#include "text/escape.h"

#include <array>

#if defined(__SSE2__) && !defined(MORVEL_PORTABLE_SCAN)
#include <emmintrin.h>
#endif

namespace morvel {

namespace {

// Which bytes a pass replaces: 0 none, otherwise an index into REPLACEMENTS.
using ReplacementIndex = std::array<unsigned char, 256>;

constexpr std::array<std::string_view, 6> REPLACEMENTS = {
    "", AMPERSAND_ENTITY, QUOTE_ENTITY, LESS_THAN_ENTITY, GREATER_THAN_ENTITY, TAB_REPLACEMENT};

constexpr ReplacementIndex MakeIndex(bool escapeSpecials) {
  ReplacementIndex index{};
  if (escapeSpecials) {
    index['&'] = 1;
    index['"'] = 2;
    index['<'] = 3;
    index['>'] = 4;
  }
  index['\t'] = 5;
  return index;
}

constexpr ReplacementIndex TABS_ONLY = MakeIndex(false);
constexpr ReplacementIndex TABS_AND_SPECIALS = MakeIndex(true);

// The position of the first byte from `i` on that `index` replaces, or `size`. Most text has
// long runs of bytes to copy as they are, so the scan looks at 16 bytes at a time where the
// processor allows it.
std::size_t FindNextReplaced(const char* data, std::size_t i, std::size_t size,
                             const ReplacementIndex& index, bool specials) {
#if defined(__SSE2__) && !defined(MORVEL_PORTABLE_SCAN)
  const __m128i tab = _mm_set1_epi8('\t');
  const __m128i ampersand = _mm_set1_epi8('&');
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i less = _mm_set1_epi8('<');
  const __m128i greater = _mm_set1_epi8('>');
  const auto hits = [&](std::size_t at) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    __m128i found = _mm_cmpeq_epi8(block, tab);
    if (specials) {
      found = _mm_or_si128(
          found, _mm_or_si128(_mm_cmpeq_epi8(block, ampersand), _mm_cmpeq_epi8(block, quote)));
      found = _mm_or_si128(
          found, _mm_or_si128(_mm_cmpeq_epi8(block, less), _mm_cmpeq_epi8(block, greater)));
    }
    return static_cast<unsigned>(_mm_movemask_epi8(found));
  };
  for (; i + 16 <= size; i += 16) {
    if (const unsigned mask = hits(i)) return i + static_cast<std::size_t>(__builtin_ctz(mask));
  }
  if (i < size && size >= 16) {
    // The last block ends at the line's end and overlaps bytes already looked at.
    const std::size_t last = size - 16;
    const unsigned mask = hits(last) >> (i - last);
    return mask ? i + static_cast<std::size_t>(__builtin_ctz(mask)) : size;
  }
#else
  (void)specials;
#endif
  while (i < size && index[static_cast<unsigned char>(data[i])] == 0) ++i;
  return i;
}

}  // namespace

std::string_view EscapeLine(std::string_view line, int escapeSpecials, std::string& buffer) {
  const bool specials = escapeSpecials == 1;
  const ReplacementIndex& index = specials ? TABS_AND_SPECIALS : TABS_ONLY;
  const char* const data = line.data();
  const std::size_t size = line.size();
  std::size_t i = FindNextReplaced(data, 0, size, index, specials);
  if (i == size) return line;
  buffer.clear();
  // Room for the line and as much again for replacements: a long line then grows its buffer
  // seldom, and untouched room costs no memory.
  if (buffer.capacity() < 2 * size) buffer.reserve(2 * size);
  std::size_t copied = 0;
  for (; i != size; i = FindNextReplaced(data, i + 1, size, index, specials)) {
    buffer.append(data + copied, i - copied);
    buffer.append(REPLACEMENTS[index[static_cast<unsigned char>(data[i])]]);
    copied = i + 1;
  }
  buffer.append(data + copied, size - copied);
  return buffer;
}

}  // namespace morvel
