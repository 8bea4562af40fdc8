#!/usr/bin/env bash
# tools/install-deps.sh against a package manager that fails the way registries do: an index
# that cannot be downloaded, a 32-bit package whose dependencies lag, a package that is gone.
# apt-get, dpkg and id are stand-ins that log their calls; every other command the script
# looks for is missing, so it has packages to install.
set -euo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/tools/install-deps.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
for tool in bash sh dirname sleep uname mktemp chmod rm cat; do
  ln -s "$(command -v "$tool")" "$work/bin/$tool"
done
cat >"$work/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >>"$LOG"
case "$*" in
*update*) exit 100 ;;
*wine32:i386*) exit 100 ;;
*"$BROKEN_PACKAGE"*) exit 100 ;;
esac
STUB
printf '#!/bin/sh\necho "dpkg $*" >>"$LOG"\n' >"$work/bin/dpkg"
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
chmod +x "$work/bin/"*

failures=0
# run NAME KERNEL32 BROKEN EXPECTED_STATUS EXPECTED_LOG_LINES MESSAGE
run() {
  local name=$1 kernel=$2 broken=$3 want=$4 lines=$5 message=$6 status=0
  : >"$work/log"
  LOG="$work/log" BROKEN_PACKAGE="$broken" MORVEL_KERNEL_RUNS_32BIT=$kernel \
    MORVEL_APT_RETRY_DELAY=0 PATH="$work/bin" "$script" 2>"$work/err" || status=$?
  local calls
  calls=$(grep -c . "$work/log" || true)
  if [ "$status" != "$want" ] || [ "$calls" != "$lines" ] || ! grep -q "$message" "$work/err"; then
    echo "FAIL $name: status $status (want $want), $calls calls (want $lines)" >&2
    cat "$work/log" "$work/err" >&2
    failures=$((failures + 1))
  fi
}

# Three updates, then one install of everything missing; no i386 architecture.
run "lagging index, 64-bit kernel" 0 none 0 4 "going on with the package lists"
grep -q "^dpkg " "$work/log" && { echo "FAIL: i386 added on a 64-bit-only kernel" >&2; failures=$((failures + 1)); }
run "a missing package fails the set-up" 0 cmake 1 4 "could not install: .*cmake"
if [ ! -e /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll ]; then
  # The architecture, three updates, the missing packages, then the 32-bit Wine, which fails.
  run "32-bit Wine that cannot be installed" 1 none 0 6 "the Windows tests run as the x64 build"
fi
exit $((failures > 0))
