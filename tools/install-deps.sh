#!/usr/bin/env bash
# Installs, on Debian 12, whatever the build and the tests need and the machine lacks.
# Runs as root, or through sudo.
set -euo pipefail

missing=()
need() { command -v "$1" >/dev/null 2>&1 || missing+=("$2"); }
need_file() { [ -e "$1" ] || missing+=("$2"); }

need cmake cmake
need g++ g++
need ninja ninja-build
need_file /usr/src/googletest/CMakeLists.txt googletest
need_file /usr/include/benchmark/benchmark.h libbenchmark-dev
need clang++ clang
need_file /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev
need i686-w64-mingw32-g++-posix g++-mingw-w64-i686
need i686-w64-mingw32-windres binutils-mingw-w64-i686
need wine wine
need_file /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll wine32:i386
# Wine's 32-bit loader needs a kernel that runs 32-bit programs; without one the Windows tests
# run as an x64 build under the 64-bit loader.
need_file /usr/lib/wine/wine64 wine64
need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
need x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64
# The icon (at build time) and the screenshots are written as PNG with Perl's zlib module,
# which perl-base alone lacks.
perl -MCompress::Zlib -e1 >/dev/null 2>&1 || missing+=(perl)
need Xvfb xvfb
need localedef locales
need_file /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf fonts-ipafont-gothic
# The packages: the Debian package's dependencies worked out from the binary (dpkg-shlibdeps,
# which CPack finds the binaries for with file), the manual page rendered, the zip listed.
need dpkg-shlibdeps dpkg-dev
need file file
need man man-db
need unzip unzip
# The web page: Emscripten (whose JavaScript passes need acorn), and its tests in Chromium,
# driven by playwright-core from npm (tools/web-test.sh installs that).
need emcc emscripten
need_file /usr/share/nodejs/acorn/package.json node-acorn
need chromium chromium
need node nodejs
need npm npm

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
# Recommended packages stay on: Wine's fonts (Marlett) come as a recommendation.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
