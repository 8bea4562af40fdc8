// Marks, 64 bytes at a time, the bytes of a text that the page writer stops at. Most bytes are
// copied as they are; only line ends, tabs, the escaped characters and the "h" of a possible
// "http://" mean anything. They are looked up 32 bytes at once in byte-shuffle tables when the
// processor has AVX2, found by comparing 16 bytes at once on the SSE2 and SSSE3 scan paths (the
// two mark alike; they differ in the UTF-8 check; a WebAssembly module with SIMD takes them
// too), and one byte at a time on the byte path.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/scan_path.h"

namespace morvel {

class SignificantBytes {
 public:
  static constexpr std::size_t BLOCK = 64;

  // `escapeSpecials`: "&", "\"", "<" and ">" are significant; `linking`: an "h" followed by
  // "t" is. "\n" and "\t" always are. `path` must be Bytes where SSE2 is missing and Avx2 only
  // where the processor has it (Ssse3 marks as Sse2 does).
  SignificantBytes(bool escapeSpecials, bool linking, ScanPath path);

  // Bit i is set when data[i] is significant, i < BLOCK. Reads BLOCK + 1 bytes: an "h" is
  // significant when the byte after it is "t", the last one's follower included.
  std::uint64_t Mark(const char* data) const {
#ifdef MORVEL_AVX2_SCAN
    if (avx2_) return MarkAvx2(data);
#endif
#ifdef MORVEL_SSE2_SCAN
    if (sse2_) return MarkSse2(data);
#endif
    std::uint64_t marks = 0;
    for (std::size_t i = 0; i < BLOCK; ++i) {
      if (IsSignificant(data[i], data[i + 1] == 't')) marks |= std::uint64_t{1} << i;
    }
    return marks;
  }

  // True when the scan takes the AVX2 path: MarkAvx2() may be called.
  bool UsesAvx2() const {
#ifdef MORVEL_AVX2_SCAN
    return avx2_;
#else
    return false;
#endif
  }

  // The same test for one byte; `nextIsT`: the byte after it is "t", or is not known.
  bool IsSignificant(char byte, bool nextIsT) const {
    return member_[static_cast<unsigned char>(byte)] || (linking_ && byte == 'h' && nextIsT);
  }

 private:
  static constexpr std::size_t SPECIALS = 6;

#ifdef MORVEL_SSE2_SCAN
  MORVEL_SSE2_CODE std::uint64_t MarkSse2(const char* data) const {
    // (No helper lambda: it would be compiled without SSE2.)
    const __m128i* const needles = reinterpret_cast<const __m128i*>(needles_);
    const __m128i s0 = _mm_loadu_si128(needles + 0), s1 = _mm_loadu_si128(needles + 1),
                  s2 = _mm_loadu_si128(needles + 2), s3 = _mm_loadu_si128(needles + 3),
                  s4 = _mm_loadu_si128(needles + 4), s5 = _mm_loadu_si128(needles + 5),
                  h = _mm_loadu_si128(needles + H), t = _mm_loadu_si128(needles + T);
    std::uint64_t marks = 0;
    for (std::size_t part = 0; part < BLOCK; part += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + part));
      // The byte after each one.
      const __m128i followers = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + part + 1));
      const __m128i a = _mm_or_si128(_mm_cmpeq_epi8(block, s0), _mm_cmpeq_epi8(block, s1));
      const __m128i b = _mm_or_si128(_mm_cmpeq_epi8(block, s2), _mm_cmpeq_epi8(block, s3));
      const __m128i c = _mm_or_si128(_mm_cmpeq_epi8(block, s4), _mm_cmpeq_epi8(block, s5));
      const __m128i ht = _mm_and_si128(_mm_cmpeq_epi8(block, h), _mm_cmpeq_epi8(followers, t));
      const __m128i all = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, ht));
      marks |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(all))) << part;
    }
    return marks;
  }

#ifdef MORVEL_AVX2_SCAN
 public:
  // Compiled for AVX2 whatever the build's target, and called only when the processor has it
  // (UsesAvx2()); the page writer's AVX2 scan inlines it. A byte is significant when the bit
  // that its high half selects (one bit per high half that a significant byte has) is set for
  // its low half: two table look-ups and an AND, where the SSE2 path compares with each value.
  // Bytes of 0x80 and above find nothing in either table. Adding 0x7F to what the look-ups
  // give sets the top bit of every significant byte. "h" and "t" are compared as they are.
  __attribute__((target("avx2"))) std::uint64_t MarkAvx2(const char* data) const {
    const __m256i* const tables = reinterpret_cast<const __m256i*>(avx2Tables_);
    const __m256i lows = _mm256_loadu_si256(tables + LOWS),
                  highs = _mm256_loadu_si256(tables + HIGHS),
                  nibble = _mm256_loadu_si256(tables + NIBBLE),
                  topBit = _mm256_loadu_si256(tables + TOP_BIT),
                  h = _mm256_loadu_si256(tables + H_BYTES),
                  t = _mm256_loadu_si256(tables + T_BYTES);
    // (The two halves written out: a helper would be compiled without AVX2.)
    const auto* const bytes = reinterpret_cast<const __m256i*>(data);
    const auto* const followers = reinterpret_cast<const __m256i*>(data + 1);
    const __m256i first = _mm256_loadu_si256(bytes), second = _mm256_loadu_si256(bytes + 1);
    const __m256i firstNext = _mm256_loadu_si256(followers),
                  secondNext = _mm256_loadu_si256(followers + 1);
    const __m256i firstSignificant = _mm256_and_si256(
        _mm256_shuffle_epi8(lows, first),
        _mm256_shuffle_epi8(highs, _mm256_and_si256(_mm256_srli_epi16(first, 4), nibble)));
    const __m256i secondSignificant = _mm256_and_si256(
        _mm256_shuffle_epi8(lows, second),
        _mm256_shuffle_epi8(highs, _mm256_and_si256(_mm256_srli_epi16(second, 4), nibble)));
    const __m256i firstMarks = _mm256_or_si256(
        _mm256_add_epi8(firstSignificant, topBit),
        _mm256_and_si256(_mm256_cmpeq_epi8(first, h), _mm256_cmpeq_epi8(firstNext, t)));
    const __m256i secondMarks = _mm256_or_si256(
        _mm256_add_epi8(secondSignificant, topBit),
        _mm256_and_si256(_mm256_cmpeq_epi8(second, h), _mm256_cmpeq_epi8(secondNext, t)));
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(firstMarks)) |
           static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(secondMarks)))
               << 32;
  }

 private:
#endif

  static constexpr std::size_t H = SPECIALS;
  static constexpr std::size_t T = SPECIALS + 1;
  // Each byte compared with, 16 times over: the specials, then "h" and "t".
  char needles_[SPECIALS + 2][16] = {};
#ifdef MORVEL_AVX2_SCAN
  // The AVX2 scan's 32-byte rows: for each low half of a byte, the bits of the high halves that
  // make it significant, and for each high half its bit (16 entries twice over, one per 128-bit
  // lane); 0x0F; 0x7F; "h" ("\n" when not linking: a byte the tables mark anyway); "t".
  static constexpr std::size_t LOWS = 0, HIGHS = 1, NIBBLE = 2, TOP_BIT = 3, H_BYTES = 4,
                               T_BYTES = 5;
  unsigned char avx2Tables_[6][32] = {};
  bool avx2_ = false;
#endif
  bool sse2_ = false;
#endif
  bool member_[256] = {};
  bool linking_ = false;
};

}  // namespace morvel
