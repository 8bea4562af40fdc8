#include "text/escape.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#if defined(__SSE2__) && !defined(MORVEL_PORTABLE_SCAN)
#include <emmintrin.h>
#endif

namespace morvel {

namespace {

// Which bytes a pass replaces: 0 none, otherwise an index into REPLACEMENTS.
using ReplacementIndex = std::array<unsigned char, 256>;

constexpr std::array<std::string_view, 6> REPLACEMENTS = {"",     "&amp;", "&quot;",
                                                          "&lt;", "&gt;",  TAB_REPLACEMENT};

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

// Builds the escaped line in `buffer` through a pointer. The buffer only ever grows: its size
// is the room, not the result's length, so it is filled once, not for every line.
class EscapedLine {
 public:
  EscapedLine(std::string_view line, std::string& buffer) : line_(line), buffer_(buffer) {
    // Room for the line and as much again: a line seldom needs more.
    if (buffer_.size() < 2 * line.size()) buffer_.resize(2 * line.size());
  }

  // Copies the bytes before `at` as they are and `replacement` for the byte at `at`.
  void Replace(std::size_t at, std::string_view replacement) {
    const std::size_t run = at - copied_;
    const std::size_t needed = used_ + run + replacement.size();
    if (needed > buffer_.size()) buffer_.resize(std::max(2 * buffer_.size(), needed));
    char* const out = buffer_.data() + used_;
    std::memcpy(out, line_.data() + copied_, run);
    if (!replacement.empty()) std::memcpy(out + run, replacement.data(), replacement.size());
    used_ = needed;
    copied_ = at + 1;
  }

  std::string_view Finish() {
    Replace(line_.size(), {});
    return std::string_view(buffer_.data(), used_);
  }

 private:
  std::string_view line_;
  std::string& buffer_;
  std::size_t copied_ = 0;
  std::size_t used_ = 0;
};

// Calls `replace(position)` for every byte of `line` that `index` replaces, in order. Most
// text has long runs of bytes to copy as they are, so the scan looks at 16 bytes at a time
// where the processor allows it.
template <typename Replace>
void ForEachReplaced(std::string_view line, const ReplacementIndex& index, bool specials,
                     Replace&& replace) {
  const char* const data = line.data();
  const std::size_t size = line.size();
  std::size_t i = 0;
#if defined(__SSE2__) && !defined(MORVEL_PORTABLE_SCAN)
  const __m128i tab = _mm_set1_epi8('\t');
  const __m128i ampersand = _mm_set1_epi8('&');
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i less = _mm_set1_epi8('<');
  const __m128i greater = _mm_set1_epi8('>');
  const __m128i largestReplaced = _mm_set1_epi8('>');
  const auto hits = [&](std::size_t at) -> unsigned {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    __m128i found = _mm_cmpeq_epi8(block, tab);
    if (specials) {
      // Every byte replaced is at most ">"; Japanese text has long runs without such bytes,
      // which one comparison rules out.
      const __m128i small = _mm_cmpeq_epi8(_mm_min_epu8(block, largestReplaced), block);
      if (_mm_movemask_epi8(small) == 0) return 0;
      found = _mm_or_si128(
          found, _mm_or_si128(_mm_cmpeq_epi8(block, ampersand), _mm_cmpeq_epi8(block, quote)));
      found = _mm_or_si128(
          found, _mm_or_si128(_mm_cmpeq_epi8(block, less), _mm_cmpeq_epi8(block, greater)));
    }
    return static_cast<unsigned>(_mm_movemask_epi8(found));
  };
  const auto replaceAll = [&](std::size_t base, unsigned mask) {
    for (; mask != 0; mask &= mask - 1) replace(base + static_cast<std::size_t>(__builtin_ctz(mask)));
  };
  for (; i + 16 <= size; i += 16) replaceAll(i, hits(i));
  if (i < size && size >= 16) {
    // The last block ends at the line's end and overlaps bytes already looked at.
    const std::size_t last = size - 16;
    replaceAll(i, hits(last) >> (i - last));
    return;
  }
#else
  (void)specials;
#endif
  for (; i < size; ++i) {
    if (index[static_cast<unsigned char>(data[i])] != 0) replace(i);
  }
}

}  // namespace

std::string_view EscapeLine(std::string_view line, int escapeSpecials, std::string& buffer) {
  const bool specials = escapeSpecials == 1;
  const ReplacementIndex& index = specials ? TABS_AND_SPECIALS : TABS_ONLY;
  // The buffer is touched only once a byte needs replacing.
  std::optional<EscapedLine> escaped;
  ForEachReplaced(line, index, specials, [&](std::size_t at) {
    if (!escaped) escaped.emplace(line, buffer);
    escaped->Replace(at, REPLACEMENTS[index[static_cast<unsigned char>(line[at])]]);
  });
  return escaped ? escaped->Finish() : line;
}

}  // namespace morvel
