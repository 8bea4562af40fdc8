#include "text/scan_path.h"

#if defined(MORVEL_SSE2_SCAN) && !defined(MORVEL_SIMD_MODULE)
#include <cpuid.h>
#endif

namespace morvel {

#if defined(MORVEL_SCAN_FORCE_SSE2) && !defined(MORVEL_SSE2_SCAN)
#error "MORVEL_SCAN=sse2 needs an x86 target or WebAssembly SIMD"
#endif

namespace {

#if defined(MORVEL_AVX2_SCAN) && !defined(MORVEL_SCAN_FORCE_BYTES) && \
    !defined(MORVEL_SCAN_FORCE_SSE2)
// True when the processor has AVX2 and the system saves its 256-bit registers (XCR0 bits 1
// and 2, read with xgetbv once cpuid says the system enabled it).
bool HasAvx2(unsigned leaf1Ecx) {
  if ((leaf1Ecx & bit_OSXSAVE) == 0 || (leaf1Ecx & bit_AVX) == 0) return false;
  unsigned xcr0 = 0, xcr0High = 0;
  __asm__("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
  if ((xcr0 & 0x6) != 0x6) return false;
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  return __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0 && (ebx & bit_AVX2) != 0;
}
#endif

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
  if ((ecx & bit_SSSE3) == 0) return ScanPath::Sse2;
  return HasAvx2(ecx) ? ScanPath::Avx2 : ScanPath::Ssse3;
#endif
}

}  // namespace

ScanPath ChosenScanPath() {
  static const ScanPath path = DetectScanPath();
  return path;
}

}  // namespace morvel
