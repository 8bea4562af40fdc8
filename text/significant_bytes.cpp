#include "text/significant_bytes.h"

#include <cstring>

namespace morvel {

SignificantBytes::SignificantBytes(bool escapeSpecials, bool linking, ScanPath path) {
  const char values[SPECIALS] = {'\n', '\t', '&', '"', '<', '>'};
  const std::size_t used = escapeSpecials ? SPECIALS : 2;
  for (std::size_t i = 0; i < used; ++i) member_[static_cast<unsigned char>(values[i])] = true;
  linking_ = linking;
#ifdef MORVEL_SSE2_SCAN
  sse2_ = path != ScanPath::Bytes;
  // Unused comparisons repeat "\n", so every block costs the same; without linking, the "h"
  // and "t" comparisons look for "\n" too, and mark only line ends, already marked.
  for (std::size_t i = 0; i < SPECIALS; ++i) {
    std::memset(needles_[i], i < used ? values[i] : '\n', sizeof needles_[i]);
  }
  std::memset(needles_[H], linking ? 'h' : '\n', sizeof needles_[H]);
  std::memset(needles_[T], linking ? 't' : '\n', sizeof needles_[T]);
#endif
#ifdef MORVEL_AVX2_SCAN
  avx2_ = path == ScanPath::Avx2;
  unsigned char* const lows = avx2Tables_[LOWS];
  unsigned char* const highs = avx2Tables_[HIGHS];
  unsigned nextBit = 1;
  for (std::size_t i = 0; i < used; ++i) {
    const unsigned value = static_cast<unsigned char>(values[i]);
    if (highs[value >> 4] == 0) {
      highs[value >> 4] = highs[16 + (value >> 4)] = static_cast<unsigned char>(nextBit);
      nextBit <<= 1;
    }
    lows[value & 0x0F] |= highs[value >> 4];
    lows[16 + (value & 0x0F)] = lows[value & 0x0F];
  }
  std::memset(avx2Tables_[NIBBLE], 0x0F, sizeof avx2Tables_[NIBBLE]);
  // A look-up gives one of three low bits or none: adding 0x7F sets the top bit of the bytes
  // that found one, and of no other.
  std::memset(avx2Tables_[TOP_BIT], 0x7F, sizeof avx2Tables_[TOP_BIT]);
  std::memset(avx2Tables_[H_BYTES], linking ? 'h' : '\n', sizeof avx2Tables_[H_BYTES]);
  std::memset(avx2Tables_[T_BYTES], 't', sizeof avx2Tables_[T_BYTES]);
#endif
#ifndef MORVEL_SSE2_SCAN
  (void)path;
#endif
}

}  // namespace morvel
