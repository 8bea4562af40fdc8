#!/usr/bin/env bash
# Runs the web page's tests in a real browser (tests/web/page_test.js): Debian's Chromium,
# headless, driven by playwright-core, which is installed into build/web-test from the locked
# version in tests/web when missing. Needs build/web/morvel.html (the web preset) and the
# native preset's morvel-convert and web_test_inputs, the oracle and the test texts.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
for needed in build/web/morvel.html build/native/cli/morvel-convert \
  build/native/tests/web_test_inputs; do
  [ -e "$needed" ] || { echo "web-test: $needed is missing: build the web and native presets" >&2; exit 1; }
done

modules=build/web-test
if ! cmp -s tests/web/package-lock.json "$modules/package-lock.json" ||
  [ ! -d "$modules/node_modules/playwright-core" ]; then
  mkdir -p "$modules"
  cp tests/web/package.json tests/web/package-lock.json "$modules/"
  (cd "$modules" && npm ci --no-audit --no-fund --loglevel=error)
fi
NODE_PATH="$PWD/$modules/node_modules" exec node --test tests/web/page_test.js
