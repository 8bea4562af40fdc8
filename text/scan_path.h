// How the text scans look at their bytes: the page writer's search for the bytes it stops at
// (text/significant_bytes.h) and the UTF-8 check (text/encoding_classifier.h) both take one of
// these paths.
#pragma once

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#include <immintrin.h>
#include <tmmintrin.h>
// The SSE2, SSSE3 and AVX2 paths are built for every x86 target, each compiled for its
// instructions whatever the build's target; each is taken only where the processor has it.
#define MORVEL_SSE2_SCAN 1
#define MORVEL_SSSE3_SCAN 1
#define MORVEL_SSE2_CODE __attribute__((target("sse2")))
#define MORVEL_SSSE3_CODE __attribute__((target("ssse3")))
#define MORVEL_AVX2_SCAN 1
#elif defined(__wasm_simd128__) && defined(__SSE2__)
// WebAssembly SIMD through the SSE2 intrinsics (-msimd128 -msse2, and SSSE3's with -mssse3). A
// module holds SIMD instructions or none, so the build chooses: nothing is checked at run time.
#include <emmintrin.h>
#define MORVEL_SSE2_SCAN 1
#define MORVEL_SIMD_MODULE 1
#define MORVEL_SSE2_CODE
#ifdef __SSSE3__
#include <tmmintrin.h>
#define MORVEL_SSSE3_SCAN 1
#define MORVEL_SSSE3_CODE
#endif
#endif

namespace morvel {

// Bytes: one byte at a time. Sse2: 16 bytes compared at once. Ssse3: the SSE2 path, and UTF-8
// checked with SSSE3 byte shuffles as well. Avx2: the SSSE3 path, and the page writer's bytes
// looked up 32 at once in AVX2 byte-shuffle tables. Each path uses what the ones before it do.
enum class ScanPath { Bytes, Sse2, Ssse3, Avx2 };

// The path of this build on this processor: AVX2, SSSE3 or SSE2 when the processor has it
// (cpuid, and for AVX2 a system that saves its registers; in WebAssembly, SSSE3 or SSE2 when the
// module was built with SIMD), the byte loop otherwise, unless the
// build forces one (the MORVEL_SCAN setting).
ScanPath ChosenScanPath();

}  // namespace morvel
