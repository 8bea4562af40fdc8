#!/usr/bin/env bash
# Builds MORVEL.exe (32-bit Windows, mingw-w64) and starts it under Wine on this display.
# Installs whatever the build needs and the machine lacks first.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j 2 --target MORVEL
# Where the kernel runs no 32-bit programs, Wine runs only x64 ones: the same sources are then
# also built for x64, and that build is the one started.
arch=$(tools/wine-arch.sh)
if [ "$arch" != win32 ]; then
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" -j 2 --target MORVEL
fi

# Without a display there is no window to show.
no_display() {
  echo "run.sh: built build/$arch/ui/MORVEL.exe, but there is no display (DISPLAY is not set)."
  echo "run.sh: run it from a desktop session, or take a picture of it: tools/screenshot.sh"
  exit 0
}
[ -n "${DISPLAY:-}" ] || no_display

exec tools/wine-run.sh "build/$arch/ui/MORVEL.exe"
