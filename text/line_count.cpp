#include "text/line_count.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace morvel {

namespace {

// Each byte of a counter counts the line feeds at its place in up to 255 words (or 16-byte
// parts) before the counters are added up, so that none passes 255.
constexpr std::size_t MOST_PER_COUNTER = 255;

// The line feeds among the `size` bytes at `data`, eight at a time, as far as whole words go;
// `done` is set to the bytes it looked at.
std::size_t CountInWords(const char* data, std::size_t size, std::size_t& done) {
  // A byte of the word XOR "\n\n..." is zero exactly at a line feed, and each zero byte adds 1
  // to its own byte of `sums`. The eight counts are added in 16-bit lanes, where their total
  // (at most 8 x 255) cannot carry.
  constexpr std::uint64_t LINE_FEEDS = 0x0A0A0A0A0A0A0A0A;
  constexpr std::uint64_t LOW_BITS = 0x0101010101010101;
  constexpr std::uint64_t LOW_SEVEN_BITS = 0x7F7F7F7F7F7F7F7F;
  constexpr std::uint64_t EVEN_BYTES = 0x00FF00FF00FF00FF;
  constexpr std::uint64_t LOW_LANES = 0x0001000100010001;
  std::size_t count = 0;
  done = 0;
  while (size - done >= 8) {
    const std::size_t words = std::min((size - done) / 8, MOST_PER_COUNTER);
    std::uint64_t sums = 0;
    for (std::size_t w = 0; w < words; ++w, done += 8) {
      std::uint64_t word;
      std::memcpy(&word, data + done, sizeof word);
      const std::uint64_t x = word ^ LINE_FEEDS;
      const std::uint64_t nonZero = (x & LOW_SEVEN_BITS) + LOW_SEVEN_BITS;
      sums += (~(nonZero | x | LOW_SEVEN_BITS) >> 7) & LOW_BITS;
    }
    const std::uint64_t pairs = (sums & EVEN_BYTES) + ((sums >> 8) & EVEN_BYTES);
    count += static_cast<std::size_t>((pairs * LOW_LANES) >> 48);
  }
  return count;
}

#ifdef MORVEL_SSE2_SCAN
// The same, 16 bytes at a time: each line feed compares as -1, subtracted into its byte of
// `sums`; the sums of absolute differences from zero add the sixteen counts up in two halves.
__attribute__((target("sse2"))) std::size_t CountInParts(const char* data, std::size_t size,
                                                         std::size_t& done) {
  const __m128i lineFeeds = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  std::size_t count = 0;
  done = 0;
  while (size - done >= 16) {
    const std::size_t parts = std::min((size - done) / 16, MOST_PER_COUNTER);
    __m128i sums = zero;
    for (std::size_t p = 0; p < parts; ++p, done += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + done));
      sums = _mm_sub_epi8(sums, _mm_cmpeq_epi8(bytes, lineFeeds));
    }
    const __m128i halves = _mm_sad_epu8(sums, zero);
    count += static_cast<std::size_t>(_mm_extract_epi16(halves, 0)) +
             static_cast<std::size_t>(_mm_extract_epi16(halves, 4));
  }
  return count;
}
#endif

}  // namespace

std::size_t CountLineFeeds(std::string_view bytes, ScanPath path) {
  std::size_t done = 0;
#ifdef MORVEL_SSE2_SCAN
  const std::size_t count = path != ScanPath::Bytes
                                ? CountInParts(bytes.data(), bytes.size(), done)
                                : CountInWords(bytes.data(), bytes.size(), done);
#else
  (void)path;
  const std::size_t count = CountInWords(bytes.data(), bytes.size(), done);
#endif
  return count + static_cast<std::size_t>(std::count(bytes.begin() + done, bytes.end(), '\n'));
}

}  // namespace morvel
