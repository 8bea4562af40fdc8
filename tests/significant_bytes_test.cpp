// The scan path that a build takes: AVX2, SSSE3 or SSE2 wherever the processor has it (every x86
// processor that these tests run on has SSE2), unless the build forces one.
#include "text/significant_bytes.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

TEST(ChosenScanPath, FollowsWhatTheProcessorHas) {
#if defined(MORVEL_SCAN_FORCE_BYTES) || !defined(MORVEL_SSE2_SCAN)
  EXPECT_EQ(ChosenScanPath(), ScanPath::Bytes);
#elif defined(MORVEL_SCAN_FORCE_SSE2)
  EXPECT_EQ(ChosenScanPath(), ScanPath::Sse2);
#else
  const ScanPath expected = !__builtin_cpu_supports("ssse3") ? ScanPath::Sse2
                            : __builtin_cpu_supports("avx2") ? ScanPath::Avx2
                                                             : ScanPath::Ssse3;
  EXPECT_EQ(ChosenScanPath(), expected);
#endif
}

}  // namespace
}  // namespace morvel
