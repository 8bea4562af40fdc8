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
  avx2_ = path == ScanPath::Avx2;
  linkByte_ = linking ? 'h' : '\n';
  unsigned nextBit = 1;
  for (std::size_t i = 0; i < used; ++i) {
    const unsigned value = static_cast<unsigned char>(values[i]);
    if (highBits_[value >> 4] == 0) {
      highBits_[value >> 4] = highBits_[16 + (value >> 4)] = static_cast<unsigned char>(nextBit);
      nextBit <<= 1;
    }
    lowBits_[value & 0x0F] |= highBits_[value >> 4];
    lowBits_[16 + (value & 0x0F)] = lowBits_[value & 0x0F];
  }
#else
  (void)path;
#endif
}

}  // namespace morvel
