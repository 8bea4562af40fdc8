#include "text/links.h"

#include <array>
#include <cstring>

#if defined(__SSE2__) && !defined(MORVEL_PORTABLE_SCAN)
#include <emmintrin.h>
#endif

#include "text/cp932.h"
#include "text/primitives.h"

namespace morvel {

namespace {

// What a byte means to an address.
constexpr unsigned char IN_ADDRESS = 0;
constexpr unsigned char ENDS_ADDRESS = 1;
constexpr unsigned char MAY_END_ADDRESS = 2;  // "&": ends it when "&lt;" or "&quot;" begins there

constexpr std::array<unsigned char, 256> MakeAddressBytes() {
  std::array<unsigned char, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    const bool ends = byte <= 0x20 || byte >= 0x7F || byte == '"' || byte == '<';
    table[byte] = ends ? ENDS_ADDRESS : IN_ADDRESS;
  }
  table['&'] = MAY_END_ADDRESS;
  return table;
}
constexpr std::array<unsigned char, 256> ADDRESS_BYTE = MakeAddressBytes();

// False only when `line` holds no "http://". Most lines hold none, so this test looks at 16
// starting positions at a time for "http" where the processor allows it; the full search then
// runs only on the lines that may hold an address.
bool MayHoldAddress(std::string_view line) {
  std::size_t start = 0;
#if defined(__SSE2__) && !defined(MORVEL_PORTABLE_SCAN)
  const char* const data = line.data();
  const auto load = [data](std::size_t at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
  };
  const __m128i h = _mm_set1_epi8('h');
  const __m128i t = _mm_set1_epi8('t');
  const __m128i p = _mm_set1_epi8('p');
  // Starts start..start+15 need the bytes up to start+18.
  for (; start + 19 <= line.size(); start += 16) {
    const __m128i ht =
        _mm_and_si128(_mm_cmpeq_epi8(load(start), h), _mm_cmpeq_epi8(load(start + 1), t));
    const __m128i tp =
        _mm_and_si128(_mm_cmpeq_epi8(load(start + 2), t), _mm_cmpeq_epi8(load(start + 3), p));
    if (_mm_movemask_epi8(_mm_and_si128(ht, tp)) != 0) return true;
  }
#endif
  return line.find(LINK_PREFIX, start) != std::string_view::npos;
}

}  // namespace

std::size_t AddressLength(std::string_view line, std::size_t start) {
  std::size_t end = start;
  for (; end < line.size(); ++end) {
    const auto byte = static_cast<unsigned char>(line[end]);
    if (ADDRESS_BYTE[byte] == ENDS_ADDRESS) break;
    if (ADDRESS_BYTE[byte] == MAY_END_ADDRESS) {
      const std::string_view rest = line.substr(end);
      if (StartsWithNoCase(rest, "&lt;") || StartsWithNoCase(rest, "&quot;")) break;
    }
  }
  return end - start;
}

std::size_t WrapLink(std::string_view line, std::size_t start, std::string& result) {
  const std::size_t length = AddressLength(line, start);
  const std::string_view address = line.substr(start, length);
  result.append("<A href=\"").append(address).append("\">").append(address).append("</A>");
  return length;
}

std::string_view LinkAddresses(std::string_view line, std::string& buffer) {
  if (!MayHoldAddress(line)) return line;
  std::string& result = buffer;
  result.clear();
  // An anchor at least doubles its address; room for twice the line saves most regrowth.
  if (result.capacity() < 2 * line.size()) result.reserve(2 * line.size());
  const char* const data = line.data();
  const std::size_t size = line.size();
  std::size_t copied = 0;
  // `position` is always a character start with no partial match pending, so the search can
  // jump to the next "h" and then decide whether that "h" starts a character.
  std::size_t position = 0;
  while (position < size) {
    const void* found = std::memchr(data + position, 'h', size - position);
    if (!found) break;
    const auto h = static_cast<std::size_t>(static_cast<const char*>(found) - data);

    // A run of lead-byte values before `h` pairs up from its first byte (which is a character
    // start: `position`, or the byte after a non-lead byte). An odd run makes `h` a trail byte.
    std::size_t leadRun = 0;
    while (h - leadRun > position && IsLeadByte(data[h - leadRun - 1])) ++leadRun;
    if (leadRun % 2 == 1) {
      position = h + 1;
      continue;
    }

    std::size_t matched = 0;
    while (matched < LINK_PREFIX.size() && h + matched < size &&
           data[h + matched] == LINK_PREFIX[matched]) {
      ++matched;
    }
    if (matched == LINK_PREFIX.size()) {
      result.append(data + copied, h - copied);
      // The address ends at a byte that can be neither part of "http://" nor a lead byte's
      // partner, so the search resumes there as if it had run through the address.
      copied = position = h + WrapLink(line, h, result);
      continue;
    }
    // The byte that broke the partial match is dropped, not tried as a new start; a lead
    // byte takes its trail byte with it.
    const std::size_t breaker = h + matched;
    position = breaker + ((breaker < size && IsLeadByte(data[breaker])) ? 2 : 1);
  }
  result.append(data + copied, size - copied);
  return result;
}

}  // namespace morvel
