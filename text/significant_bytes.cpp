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
#else
  (void)path;
#endif
}

}  // namespace morvel
