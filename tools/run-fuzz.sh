#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, ASan, UBSan) and runs each for its share of a
# bounded time: ${1:-60} seconds in all. Fails on the first difference from a reference or on
# any sanitizer finding; the failing input is left in build/fuzz/NAME-crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/fuzz
# Each fuzzer: its seeds (fuzz/seeds/NAME), its dictionary and its longest input.
fuzzers=(
  "text_body text_body.dict 8192"
  "encoding_readers encoding.dict 4096"
  "text_conversion encoding.dict 2048"
)
share=$((seconds / ${#fuzzers[@]}))
[ "$share" -ge 1 ] || share=1
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2
for fuzzer in "${fuzzers[@]}"; do
  read -r name dict longest <<<"$fuzzer"
  echo "== $name: ${share} s"
  mkdir -p "$build/corpus/$name"
  "$build/${name}_fuzzer" -max_total_time="$share" -max_len="$longest" -timeout=30 \
    -print_final_stats=1 -dict="fuzz/$dict" -artifact_prefix="$build/$name-" \
    "$build/corpus/$name" "fuzz/seeds/$name"
done
