#!/bin/sh
# Exits 0 when this kernel runs 32-bit x86 programs, 1 when it does not. It runs a 93-byte
# 32-bit program that only exits, written here, so it needs no 32-bit package.
# MORVEL_KERNEL_RUNS_32BIT=1 or 0 gives the answer instead (for tests of the set-up).
case ${MORVEL_KERNEL_RUNS_32BIT:-} in
1) exit 0 ;;
0) exit 1 ;;
esac
[ "$(uname -m)" = x86_64 ] || [ "$(uname -m)" = i686 ] || exit 1
program=$(mktemp "${TMPDIR:-/tmp}/morvel-i386.XXXXXX") || exit 1
trap 'rm -f "$program"' EXIT
# An ELF header (32-bit, little-endian, i386, entry 0x08048054), one loadable segment for the
# whole file, then: mov eax, 1; xor ebx, ebx; int 0x80 (exit with status 0).
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$program"
printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$program"
printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$program"
printf '\000\000\000\000' >>"$program"
printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$program"
printf '\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000' >>"$program"
printf '\270\001\000\000\000\061\333\315\200' >>"$program"
chmod +x "$program"
"$program" 2>/dev/null
