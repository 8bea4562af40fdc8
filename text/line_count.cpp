#include "text/line_count.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace morvel {

std::size_t CountLineFeeds(std::string_view bytes) {
  // Eight bytes at a time: a byte of the word XOR "\n\n..." is zero exactly at a line feed, and
  // each zero byte adds 1 to its own byte of `sums`. Those counts reach at most 255 (as many
  // words as are taken before they are added up), and are added up in 16-bit lanes, where
  // their total (at most 8 x 255) cannot carry.
  constexpr std::uint64_t LINE_FEEDS = 0x0A0A0A0A0A0A0A0A;
  constexpr std::uint64_t LOW_BITS = 0x0101010101010101;
  constexpr std::uint64_t LOW_SEVEN_BITS = 0x7F7F7F7F7F7F7F7F;
  constexpr std::uint64_t EVEN_BYTES = 0x00FF00FF00FF00FF;
  constexpr std::uint64_t LOW_LANES = 0x0001000100010001;
  const char* data = bytes.data();
  std::size_t size = bytes.size();
  std::size_t count = 0;
  while (size >= 8) {
    const std::size_t words = std::min<std::size_t>(size / 8, 255);
    std::uint64_t sums = 0;
    for (std::size_t w = 0; w < words; ++w) {
      std::uint64_t word;
      std::memcpy(&word, data + 8 * w, sizeof word);
      const std::uint64_t x = word ^ LINE_FEEDS;
      const std::uint64_t nonZero = (x & LOW_SEVEN_BITS) + LOW_SEVEN_BITS;
      sums += (~(nonZero | x | LOW_SEVEN_BITS) >> 7) & LOW_BITS;
    }
    const std::uint64_t pairs = (sums & EVEN_BYTES) + ((sums >> 8) & EVEN_BYTES);
    count += static_cast<std::size_t>((pairs * LOW_LANES) >> 48);
    data += 8 * words;
    size -= 8 * words;
  }
  return count + static_cast<std::size_t>(std::count(data, data + size, '\n'));
}

}  // namespace morvel
