#!/usr/bin/env bash
# Builds MORVEL.exe (32-bit Windows, mingw-w64) and starts it under Wine on this display; with
# no display, converts the bundled sample with the command-line converter instead and builds the
# web page.
# Installs whatever the build needs and the machine lacks first.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh

# Without a display there is no window to show: the command-line converter turns the bundled
# sample into a page instead.
if [ -z "${DISPLAY:-}" ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native -j 2 --target morvel-convert
  mkdir -p build/sample
  build/native/cli/morvel-convert -f --title "MORVEL のサンプル" examples/sample.txt \
    build/sample/sample.htm
  echo "run.sh: there is no display (DISPLAY is not set), so the window was not started."
  echo "run.sh: the sample examples/sample.txt became build/sample/sample.htm (code page 932);"
  echo "run.sh: view it with: iconv -f CP932 -t UTF-8 build/sample/sample.htm"
  echo "run.sh: a picture of the window, taken on a private X server: tools/screenshot.sh"
  cmake --preset web >/dev/null
  cmake --build --preset web -j 2
  echo "run.sh: the web page, which converts in any browser with no server and no network:"
  echo "run.sh: open file://$PWD/build/web/morvel.html"
  exit 0
fi

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j 2 --target MORVEL
# Where the kernel runs no 32-bit programs, Wine runs only x64 ones: the same sources are then
# also built for x64, and that build is the one started.
arch=$(tools/wine-arch.sh)
if [ "$arch" != win32 ]; then
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" -j 2 --target MORVEL
fi

exec tools/wine-run.sh "build/$arch/ui/MORVEL.exe"
