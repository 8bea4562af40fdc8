// Marks, 64 bytes at a time, the bytes of a text that the page writer stops at. Most bytes are
// copied as they are; only line ends, tabs, the escaped characters and the "h" of a possible
// "http://" mean anything. They are found by comparing 16 bytes at once on the SSE2 and SSSE3
// scan paths (the two mark alike; they differ in the UTF-8 check; a WebAssembly module with SIMD
// takes them too), and one byte at a time on the byte path.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/scan_path.h"

namespace morvel {

class SignificantBytes {
 public:
  static constexpr std::size_t BLOCK = 64;

  // `escapeSpecials`: "&", "\"", "<" and ">" are significant; `linking`: an "h" followed by
  // "t" is. "\n" and "\t" always are. `path` must be Bytes where SSE2 is missing (Ssse3 marks
  // as Sse2 does).
  SignificantBytes(bool escapeSpecials, bool linking, ScanPath path);

  // Bit i is set when data[i] is significant, i < BLOCK. An "h" whose next byte the scan
  // does not look at (the last of a 16-byte part, or of the block) is marked whatever
  // follows it; the caller checks the whole "http://".
  std::uint64_t Mark(const char* data) const {
#ifdef MORVEL_SSE2_SCAN
    if (sse2_) return MarkSse2(data);
#endif
    std::uint64_t marks = 0;
    for (std::size_t i = 0; i < BLOCK; ++i) {
      const bool nextIsT = i + 1 == BLOCK || data[i + 1] == 't';
      if (IsSignificant(data[i], nextIsT)) marks |= std::uint64_t{1} << i;
    }
    return marks;
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
    // The byte after each one is the block shifted by one; the last byte's follower lies in
    // the next part and is taken as "t".
    const __m128i lastFollower = _mm_set_epi8(-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    std::uint64_t marks = 0;
    for (std::size_t part = 0; part < BLOCK; part += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + part));
      const __m128i a = _mm_or_si128(_mm_cmpeq_epi8(block, s0), _mm_cmpeq_epi8(block, s1));
      const __m128i b = _mm_or_si128(_mm_cmpeq_epi8(block, s2), _mm_cmpeq_epi8(block, s3));
      const __m128i c = _mm_or_si128(_mm_cmpeq_epi8(block, s4), _mm_cmpeq_epi8(block, s5));
      const __m128i followedByT =
          _mm_or_si128(_mm_cmpeq_epi8(_mm_srli_si128(block, 1), t), lastFollower);
      const __m128i ht = _mm_and_si128(_mm_cmpeq_epi8(block, h), followedByT);
      const __m128i all = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, ht));
      marks |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(all))) << part;
    }
    return marks;
  }

  static constexpr std::size_t H = SPECIALS;
  static constexpr std::size_t T = SPECIALS + 1;
  // Each byte compared with, 16 times over: the specials, then "h" and "t".
  char needles_[SPECIALS + 2][16] = {};
  bool sse2_ = false;
#endif
  bool member_[256] = {};
  bool linking_ = false;
};

}  // namespace morvel
