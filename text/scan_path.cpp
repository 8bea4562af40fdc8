#include "text/scan_path.h"

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

}  // namespace morvel
