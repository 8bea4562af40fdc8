#!/usr/bin/env bash
# Builds the text page writer's fuzzer with clang (libFuzzer, ASan, UBSan) and runs it for a
# bounded time: ${1:-60} seconds. Fails on the first difference from the reference or on any
# sanitizer finding; the failing input is left in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2
mkdir -p "$build/corpus"
"$build/text_body_fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=30 \
  -print_final_stats=1 -dict=fuzz/text_body.dict -artifact_prefix="$build/" "$build/corpus" fuzz/seeds
