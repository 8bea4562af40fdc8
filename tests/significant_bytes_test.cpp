// The scan path that a build takes: SSE2 wherever the processor has it (every x86 processor
// that these tests run on), unless the build forces the byte loop.
#include "text/significant_bytes.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

TEST(ChosenScanPath, IsSse2WhereTheProcessorHasIt) {
#if defined(MORVEL_SCAN_FORCE_BYTES) || !defined(MORVEL_SSE2_SCAN)
  EXPECT_EQ(ChosenScanPath(), ScanPath::Bytes);
#else
  EXPECT_EQ(ChosenScanPath(), ScanPath::Sse2);
#endif
}

}  // namespace
}  // namespace morvel
