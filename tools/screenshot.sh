#!/usr/bin/env bash
# Takes a PNG picture of the main window as Wine draws it on a private X display.
# Usage: tools/screenshot.sh [OUTPUT.png]   (default docs/screenshot.png)
# Needs a built MORVEL.exe (./run.sh builds it);
# MORVEL_EXE and MORVEL_WINE_RUN name another program or Wine wrapper.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/screenshot.png}")
# The build Wine can run here: win32, or win64 where the kernel runs no 32-bit programs.
arch=$("$root/tools/wine-arch.sh")
exe="${MORVEL_EXE:-$root/build/$arch/ui/MORVEL.exe}"
run="${MORVEL_WINE_RUN:-$root/tools/wine-run.sh}"
[ -f "$exe" ] || { echo "screenshot.sh: build $exe first (./run.sh)" >&2; exit 1; }
command -v import >/dev/null || { echo "screenshot.sh: needs ImageMagick (apt-get install imagemagick)" >&2; exit 1; }

if [ "${MORVEL_SCREENSHOT_DISPLAY:-}" != private ]; then
  # Always a private display of a known size, whatever DISPLAY the caller has.
  exec env -u DISPLAY MORVEL_SCREENSHOT_DISPLAY=private "$root/tools/with-display.sh" "$0" "$out"
fi

mkdir -p "$(dirname "$out")"
: "${WINEPREFIX:=${TMPDIR:-/tmp}/morvel-wine/prefix-$arch}"  # the prefix tools/wine-run.sh uses
export WINEPREFIX
shot=$(mktemp --suffix=.png)
"$run" "$exe" &
app=$!
trap 'rm -f "$shot"' EXIT
# Wine draws the window inside its virtual desktop; the picture is the desktop trimmed to the
# window (the desktop around it is a single colour). Wait until the window has been painted.
for _ in $(seq 60); do
  sleep 0.5
  import -window root "$shot" 2>/dev/null || continue
  size=$(convert "$shot" -trim -format '%w' info: 2>/dev/null || echo 0)
  [ "$size" -gt 300 ] && break
done
sleep 0.5  # let the fonts and the frame settle
import -window root "$shot"
convert "$shot" -trim +repage "$out"
wineserver -k 2>/dev/null || true
wait "$app" 2>/dev/null || true
echo "screenshot.sh: wrote $out"
