#!/usr/bin/env bash
# Checks the packages that `cmake --build --preset <preset> --target package` wrote:
#   tools/check-packages.sh deb PACKAGE.deb   unpacks it into a temporary folder, runs its
#                                             morvel-convert --version, renders its manual page
#                                             and fails on any warning;
#   tools/check-packages.sh zip PACKAGE.zip   checks that it holds both programs and the README.
# Both must hold the web page, morvel.html.
set -euo pipefail
kind=$1
package=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "check-packages: $package: $*" >&2
  exit 1
}

case $kind in
deb)
  dpkg-deb -x "$package" "$work"
  version=$("$work/usr/bin/morvel-convert" --version) || fail "morvel-convert --version failed"
  [ "$version" = "MORVEL 1.3" ] || fail "morvel-convert --version said '$version'"
  page="$work/usr/share/man/man1/morvel-convert.1.gz"
  [ -f "$page" ] || fail "no manual page"
  [ -f "$work/usr/share/doc/morvel/README.md" ] || fail "no README"
  grep -q '<html lang="ja">' "$work/usr/share/morvel/morvel.html" 2>/dev/null ||
    fail "no web page (build the web preset before the package)"
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man failed: $warnings"
  [ -z "$warnings" ] || fail "the manual page renders with warnings: $warnings"
  # Every option of --help is documented in the manual page.
  manual=$(zcat "$page" | sed 's/\\-/-/g')
  for option in $("$work/usr/bin/morvel-convert" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    grep -qF -- "$option" <<<"$manual" || fail "the manual page does not document $option"
  done
  echo "check-packages: $package: morvel-convert --version ran, the manual page renders cleanly, the web page is there"
  ;;
zip)
  listing=$(unzip -Z1 "$package")
  for file in MORVEL.exe morvel-convert.exe README.txt morvel.html; do
    grep -qE "(^|/)$file\$" <<<"$listing" || fail "no $file"
  done
  echo "check-packages: $package: holds MORVEL.exe, morvel-convert.exe, README.txt and morvel.html"
  ;;
*)
  echo "usage: $0 deb|zip PACKAGE" >&2
  exit 2
  ;;
esac
