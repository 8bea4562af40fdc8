#include "text/significant_bytes.h"

#include <cstring>

#if defined(MORVEL_SSE2_SCAN) && !defined(MORVEL_SIMD_MODULE)
#include <cpuid.h>
#endif

namespace morvel {

#if defined(MORVEL_SCAN_FORCE_SSE2) && !defined(MORVEL_SSE2_SCAN)
#error "MORVEL_SCAN=sse2 needs an x86 target or WebAssembly SIMD"
#endif

namespace {

ScanPath DetectScanPath() {
#if defined(MORVEL_SCAN_FORCE_BYTES) || !defined(MORVEL_SSE2_SCAN)
  return ScanPath::Bytes;
#elif defined(MORVEL_SCAN_FORCE_SSE2)
  return ScanPath::Sse2;
#elif defined(MORVEL_SIMD_MODULE) && defined(MORVEL_SSSE3_SCAN)
  return ScanPath::Ssse3;
#elif defined(MORVEL_SIMD_MODULE)
  return ScanPath::Sse2;
#else
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0 || (edx & bit_SSE2) == 0) {
    return ScanPath::Bytes;
  }
  return (ecx & bit_SSSE3) != 0 ? ScanPath::Ssse3 : ScanPath::Sse2;
#endif
}

}  // namespace

ScanPath ChosenScanPath() {
  static const ScanPath path = DetectScanPath();
  return path;
}

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
