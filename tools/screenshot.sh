#!/usr/bin/env bash
# Takes a PNG picture of the main window as Wine draws it on a private X display.
# Usage: tools/screenshot.sh [--scale PERCENT] [OUTPUT.png]
#   --scale 200   the display at 200 % (Wine's LogPixels 192), in a Wine prefix of its own;
#                 the default OUTPUT is then docs/screenshot-200.png (docs/screenshot.png at 100).
# Needs MORVEL.exe and window_picture.exe built for the Wine here (the message says how).
# MORVEL_BUILD names another build folder, MORVEL_WINE_RUN another Wine wrapper.
#
# window_picture.exe starts MORVEL and photographs its window only when the window carries
# MORVEL's title and nothing lies over it (Wine's helper programs sometimes show a crash dialog
# of their own). If that fails, the picture is tried once more, then the script fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scale=100
if [ "${1:-}" = --scale ]; then
  scale=${2:?"screenshot.sh: --scale needs a percentage"}
  shift 2
fi
case "$scale" in '' | *[!0-9]*) echo "screenshot.sh: --scale takes a whole percentage" >&2; exit 2 ;; esac
default_name=screenshot.png
[ "$scale" = 100 ] || default_name="screenshot-$scale.png"
out=$(realpath -m "${1:-$root/docs/$default_name}")
# The build Wine can run here: win32, or win64 where the kernel runs no 32-bit programs.
arch=$("$root/tools/wine-arch.sh")
build="${MORVEL_BUILD:-$root/build/$arch}"
run="${MORVEL_WINE_RUN:-$root/tools/wine-run.sh}"
picture_taker="$build/ui/window_picture.exe"
for program in "$build/ui/MORVEL.exe" "$picture_taker"; do
  [ -f "$program" ] || {
    echo "screenshot.sh: $program is missing; build it with:" >&2
    echo "  cmake --preset $arch && cmake --build --preset $arch --target MORVEL window_picture" >&2
    exit 1
  }
done

dpi=$((96 * scale / 100))
# The screen, and Wine's virtual desktop on it, grow with the scale: 1024 x 768 at 100 %.
desktop="$((1024 * scale / 100))x$((768 * scale / 100))"
if [ "${MORVEL_SCREENSHOT_DISPLAY:-}" != private ]; then
  # Always a private display, whatever DISPLAY the caller has.
  exec env -u DISPLAY MORVEL_SCREENSHOT_DISPLAY=private MORVEL_XVFB_SCREEN="${desktop}x24" \
    "$root/tools/with-display.sh" "$0" --scale "$scale" "$out"
fi

mkdir -p "$(dirname "$out")"
# At 100 % the prefix tools/wine-run.sh uses (or the caller's WINEPREFIX); another scale has a
# prefix of its own, so that no other prefix leaves 96 DPI.
prefix="${TMPDIR:-/tmp}/morvel-wine/prefix-$arch"
if [ "$scale" = 100 ]; then
  export WINEPREFIX="${WINEPREFIX:-$prefix}"
else
  export WINEPREFIX="$prefix-dpi$dpi"
fi
shot=$(mktemp --suffix=.bmp)
# Wine's server of this prefix ends with the script, before the private display does.
trap 'rm -f "$shot"; wineserver -k 2>/dev/null || true' EXIT
if [ "$scale" != 100 ]; then
  # Wine reads the display's scale, and the size of its virtual desktop, when it starts.
  "$run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  "$run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop" /f >/dev/null
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
fi

windows_shot="Z:$(echo "$shot" | tr / '\\')"
for attempt in 1 2; do
  if "$run" "$picture_taker" "$windows_shot"; then
    "$root/tools/bmp-to-png.pl" "$shot" "$out"
    echo "screenshot.sh: wrote $out"
    exit 0
  fi
  [ "$attempt" = 1 ] && echo "screenshot.sh: no picture of MORVEL's window; trying once more" >&2
  wineserver -k 2>/dev/null || true
done
echo "screenshot.sh: no picture of MORVEL's window was taken; $out is unchanged" >&2
exit 1
