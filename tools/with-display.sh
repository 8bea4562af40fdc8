#!/usr/bin/env bash
# Runs a command with an X display: the current one, or a private Xvfb when there is none
# (1024 x 768, or the WIDTHxHEIGHTxDEPTH that MORVEL_XVFB_SCREEN names).
# Wine's server is stopped afterwards so that the next run starts clean.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then exec "$@"; fi
ready=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${MORVEL_XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  else
    for prefix in "${TMPDIR:-/tmp}"/morvel-wine/prefix-*; do
      [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    done
  fi
  kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null || true
  rm -f "$ready"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$ready" ] && break; sleep 0.1; done
[ -s "$ready" ] || { echo "with-display.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$ready")"
"$@"
