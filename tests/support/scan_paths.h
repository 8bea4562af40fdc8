// The scan paths the tests and the fuzzers take, whatever path the build chooses: every path
// wherever SSE2 can be built (every x86 processor that they run on has it), and the SSSE3 path
// of the UTF-8 check and the AVX2 path of both where the processor has them.
#pragma once

#include <vector>

#include "text/scan_path.h"

namespace morvel::testing {

// Every path of the UTF-8 check that the build has and the processor can take.
inline std::vector<ScanPath> Utf8ScanPaths() {
#ifdef MORVEL_SSE2_SCAN
  std::vector<ScanPath> paths = {ScanPath::Bytes, ScanPath::Sse2};
  if (__builtin_cpu_supports("ssse3")) paths.push_back(ScanPath::Ssse3);
#ifdef MORVEL_AVX2_SCAN
  if (__builtin_cpu_supports("avx2")) paths.push_back(ScanPath::Avx2);
#endif
  return paths;
#else
  return {ScanPath::Bytes};
#endif
}

// The paths of the page writer's scan: the same but SSSE3, on which it marks as SSE2 does.
inline std::vector<ScanPath> ScanPaths() {
  std::vector<ScanPath> paths = Utf8ScanPaths();
  std::erase(paths, ScanPath::Ssse3);
  return paths;
}

}  // namespace morvel::testing
