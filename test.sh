#!/usr/bin/env bash
# Builds and runs every test: native unit tests, the same under AddressSanitizer and UBSan, the
# web page's tests in Chromium, and the Windows build's tests under Wine; builds and checks the
# Debian package and the Windows zip. Installs what is missing first.
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

# The web page (built before the packages, which ship it) and its tests in Chromium, against
# the native preset's converter.
echo "== web"
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs"
tools/web-test.sh

echo "== the Debian package"
cmake --build --preset native --target package
tools/check-packages.sh deb build/native/morvel_1.3_"$(dpkg --print-architecture)".deb

# The product is the 32-bit Windows build; its tests run under Wine. Where the kernel cannot
# run 32-bit programs, Wine runs only x64 programs, so the same sources are built for x64 and
# tested under Wine instead (the 32-bit build is still made, to prove it compiles and links).
echo "== win32"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
echo "== the Windows zip"
cmake --build --preset win32 --target package
tools/check-packages.sh zip build/win32/MORVEL-1.3-i686.zip
wine_preset=$(tools/wine-arch.sh)
if [ "$wine_preset" != win32 ]; then
  echo "== this kernel runs no 32-bit programs: the Windows tests run as the x64 build"
  cmake --preset "$wine_preset" >/dev/null
  cmake --build --preset "$wine_preset" -j "$jobs"
fi
echo "== $wine_preset tests under Wine"
# A Wine prefix of this checkout's own, so that other Wine users on the machine (and their
# displays) cannot stop its server in the middle of a test.
export WINEPREFIX="$PWD/build/wine/prefix-$wine_preset"
# Wine itself now and then crashes a test program as it exits, after every test in it has
# passed; a test that fails runs once more, and fails the run only when it fails twice.
tools/with-display.sh ctest --preset "$wine_preset" -j "$jobs" --repeat until-pass:2

echo "== fuzzing the text page writer, the encoding readers and whole conversions (60 s)"
tools/run-fuzz.sh 60
