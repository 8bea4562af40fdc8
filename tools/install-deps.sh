#!/usr/bin/env bash
# Installs, on Debian 12, whatever the build and the tests need and the machine lacks.
# Runs as root, or through sudo.
#
# A package index that cannot be downloaded (a mirror in the middle of a sync) is retried, then
# left out: the lists already there serve. The 32-bit Wine is installed only where the kernel
# runs 32-bit programs, and where its install fails the Windows tests run as the x64 build.
# Any other package that cannot be installed fails the set-up.
#
# For its own test: MORVEL_KERNEL_RUNS_32BIT (1 or 0) stands in for the kernel's answer, and
# MORVEL_APT_RETRY_DELAY for the seconds between attempts (default 10).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

say() { echo "install-deps.sh: $*" >&2; }

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
# Wine's 64-bit loader runs the x64 build, which is what the Windows tests run as on a kernel
# without 32-bit programs.
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

# The 32-bit Wine, which runs the 32-bit build itself, is worth having only where the kernel
# runs 32-bit programs.
wine32=()
if "$here/kernel-runs-32bit.sh" &&
  [ ! -e /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll ]; then
  wine32=(wine32:i386)
fi

[ ${#missing[@]} -eq 0 ] && [ ${#wine32[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#wine32[@]} -ne 0 ]; then
  $sudo dpkg --add-architecture i386
fi

# apt-get update fails as a whole when any one index fails, yet keeps every list it did fetch.
delay=${MORVEL_APT_RETRY_DELAY:-10}
updated=false
for attempt in 1 2 3; do
  if $sudo apt-get update -qq; then
    updated=true
    break
  fi
  if [ "$attempt" -lt 3 ]; then
    say "apt-get update failed (attempt $attempt of 3); retrying in ${delay} s"
    sleep "$delay"
  fi
done
$updated || say "a package index still cannot be downloaded; going on with the package lists there are"

install() {
  # Recommended packages stay on: Wine's fonts (Marlett) come as a recommendation.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@" >/dev/null
}

if [ ${#missing[@]} -ne 0 ]; then
  say "installing: ${missing[*]}"
  if ! install "${missing[@]}"; then
    say "could not install: ${missing[*]} (see apt-get's messages above)"
    exit 1
  fi
fi
if [ ${#wine32[@]} -ne 0 ]; then
  say "installing: ${wine32[*]}"
  if ! install "${wine32[@]}"; then
    say "could not install ${wine32[*]}: the Windows tests run as the x64 build instead"
  fi
fi
exit 0
