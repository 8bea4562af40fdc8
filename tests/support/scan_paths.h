// The scan paths the tests and the fuzzers take, whatever path the build chooses: every path
// wherever SSE2 can be built (every x86 processor that they run on has it), and the SSSE3 path
// of the UTF-8 check where the processor has that.
#pragma once

#include <vector>

#include "text/scan_path.h"

namespace morvel::testing {

// The paths of the page writer's scan, on which SSSE3 marks as SSE2 does.
inline std::vector<ScanPath> ScanPaths() {
#ifdef MORVEL_SSE2_SCAN
  return {ScanPath::Bytes, ScanPath::Sse2};
#else
  return {ScanPath::Bytes};
#endif
}

// The paths of the UTF-8 check.
inline std::vector<ScanPath> Utf8ScanPaths() {
  std::vector<ScanPath> paths = ScanPaths();
#ifdef MORVEL_SSE2_SCAN
  if (__builtin_cpu_supports("ssse3")) paths.push_back(ScanPath::Ssse3);
#endif
  return paths;
}

}  // namespace morvel::testing
