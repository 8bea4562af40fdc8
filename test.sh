#!/usr/bin/env bash
# Builds and runs every test: native unit tests, the same under AddressSanitizer and UBSan,
# and the Windows build's tests under Wine. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
jobs=$(nproc)

for preset in native native-asan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

echo "== win32 (under Wine)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
tools/with-display.sh ctest --preset win32 -j "$jobs"

echo "== fuzzing the line transforms against their reference (60 s)"
tools/run-fuzz.sh 60
