// Marks, 64 bytes at a time, the bytes that the whole-line transforms stop at. Most bytes of a
// text are copied as they are; only line ends, tabs, the escaped characters and the "h" of a
// possible "http://" mean anything, and they are found by comparing 16 bytes at once where
// the processor allows it.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__) && !defined(MORVEL_PORTABLE_SCAN)
#include <emmintrin.h>
#define MORVEL_SIGNIFICANT_SSE2 1
#endif

namespace morvel {

class SignificantBytes {
 public:
  static constexpr std::size_t BLOCK = 64;

  // `escapeSpecials`: "&", "\"", "<" and ">" are significant; `linking`: an "h" followed by
  // "t" is. "\n" and "\t" always are.
  SignificantBytes(bool escapeSpecials, bool linking) {
    const char values[SPECIALS] = {'\n', '\t', '&', '"', '<', '>'};
    const std::size_t used = escapeSpecials ? SPECIALS : 2;
    for (std::size_t i = 0; i < used; ++i) member_[static_cast<unsigned char>(values[i])] = true;
    linking_ = linking;
#ifdef MORVEL_SIGNIFICANT_SSE2
    // Unused comparisons repeat "\n", so every block costs the same; without linking, the
    // "h" and "t" comparisons look for "\n" too, and mark only line ends, already marked.
    for (std::size_t i = 0; i < SPECIALS; ++i) {
      specials_[i] = _mm_set1_epi8(i < used ? values[i] : '\n');
    }
    h_ = _mm_set1_epi8(linking ? 'h' : '\n');
    t_ = _mm_set1_epi8(linking ? 't' : '\n');
#endif
  }

  // Bit i is set when data[i] is significant, i < BLOCK. An "h" whose next byte the scan
  // does not look at (the last of a 16-byte part) is marked whatever follows it; the caller
  // checks the whole "http://".
  std::uint64_t Mark(const char* data) const {
#ifdef MORVEL_SIGNIFICANT_SSE2
    // The byte after each one is the block shifted by one; the last byte's follower lies in
    // the next block and is taken as "t".
    const __m128i lastFollower = _mm_set_epi8(-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    std::uint64_t marks = 0;
    for (std::size_t part = 0; part < BLOCK; part += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + part));
      const __m128i a =
          _mm_or_si128(_mm_cmpeq_epi8(block, specials_[0]), _mm_cmpeq_epi8(block, specials_[1]));
      const __m128i b =
          _mm_or_si128(_mm_cmpeq_epi8(block, specials_[2]), _mm_cmpeq_epi8(block, specials_[3]));
      const __m128i c =
          _mm_or_si128(_mm_cmpeq_epi8(block, specials_[4]), _mm_cmpeq_epi8(block, specials_[5]));
      const __m128i followedByT =
          _mm_or_si128(_mm_cmpeq_epi8(_mm_srli_si128(block, 1), t_), lastFollower);
      const __m128i ht = _mm_and_si128(_mm_cmpeq_epi8(block, h_), followedByT);
      const __m128i all = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, ht));
      marks |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(all))) << part;
    }
    return marks;
#else
    std::uint64_t marks = 0;
    for (std::size_t i = 0; i < BLOCK; ++i) {
      const bool nextIsT = i + 1 == BLOCK || data[i + 1] == 't';
      if (IsSignificant(data[i], nextIsT)) marks |= std::uint64_t{1} << i;
    }
    return marks;
#endif
  }

  // The same test for one byte; `nextIsT`: the byte after it is "t", or is not known.
  bool IsSignificant(char byte, bool nextIsT) const {
    return member_[static_cast<unsigned char>(byte)] || (linking_ && byte == 'h' && nextIsT);
  }

 private:
  static constexpr std::size_t SPECIALS = 6;

#ifdef MORVEL_SIGNIFICANT_SSE2
  __m128i specials_[SPECIALS];
  __m128i h_;
  __m128i t_;
#endif
  bool member_[256] = {};
  bool linking_ = false;
};

}  // namespace morvel
