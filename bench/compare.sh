#!/usr/bin/env bash
# Whole-program timings of morvel-convert next to cat, txt2html and pandoc, and its peak
# memory on files of different sizes. Prints a Markdown table and PASS/FAIL for the targets;
# the exit status is 0 whatever the numbers (it is a report), non-zero only when the script
# itself cannot run.
#
#   bench/compare.sh                 # from any folder
#   RUNS=9 bench/compare.sh          # more timed runs of cat and morvel-convert (default 5)
#   CONVERT=path/to/morvel-convert bench/compare.sh   # another build of the converter
#
# Settings (environment):
#   RUNS          timed runs of cat and morvel-convert per file; the median is reported (5)
#   SLOW_RUNS     timed runs of txt2html and pandoc on the 5 MB slice (3)
#   TIMEOUT       seconds allowed to txt2html and pandoc per run on the prose (300)
#   LONG_TIMEOUT  seconds allowed to them on the long-line file (30)
#   OTHERS=0      leave txt2html and pandoc out
#   FULL_OTHERS=0 run txt2html and pandoc on the 5 MB slice only, not on the 50 MB text
#   WORK          work folder (default /dev/shm/morvel-compare when there is room, otherwise
#                 ${TMPDIR:-/tmp}/morvel-compare)
#   KEEP=1        leave the generated files there afterwards (about 620 MB; removed otherwise)
#   CONVERT       the morvel-convert to time (default: the native preset's)
#
# morvel-convert and the file generator are built in the native preset when missing.
set -euo pipefail

ROOT=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build/native"
CONVERT=${CONVERT:-"$BUILD/cli/morvel-convert"}
GENERATOR="$BUILD/bench/morvel_corpus"

RUNS=${RUNS:-5}
SLOW_RUNS=${SLOW_RUNS:-3}
TIMEOUT=${TIMEOUT:-300}
LONG_TIMEOUT=${LONG_TIMEOUT:-30}
OTHERS=${OTHERS:-1}
FULL_OTHERS=${FULL_OTHERS:-1}

CORPUS_BYTES=50000000
SLICE_BYTES=5000000
LONG_LINES=8
LONG_LINE_BYTES=1000000
ONE_LINE_BYTES=100000000
RSS_LIMIT_KB=16384   # 16 MiB
SPEED_LIMIT=1.6      # times cat's wall time
LINEAR_LIMIT=1.5     # time per MB, full long-line file over the half-size one
PAGE_TIME_LIMIT=1.5  # time per MB of page, one-line files over the prose
UTF8_LIMIT=1.25      # the prose in UTF-8 to its UTF-8 page, over the prose in code page 932
IR_LIMIT=3.0         # instructions per input byte (callgrind), the 5 MB prose in code page 932
IR_UTF8_LIMIT=3.5    # the same, the 5 MB prose in UTF-8

say() { printf '%s\n' "$*" >&2; }
die() { say "compare.sh: $*"; exit 1; }

for run_count in "$RUNS" "$SLOW_RUNS"; do
  [[ $run_count =~ ^[1-9][0-9]*$ ]] || die "RUNS and SLOW_RUNS must be positive whole numbers"
done
[[ -x /usr/bin/time ]] || die "GNU time (/usr/bin/time) is needed for the peak memory"

# --- Build ------------------------------------------------------------------------------------

if [[ ! -x $CONVERT || ! -x $GENERATOR ]]; then
  say "Building morvel-convert and morvel_corpus (native preset)..."
  (
    cd "$ROOT"
    [[ -f $BUILD/build.ninja ]] || cmake --preset native >&2
    cmake --build --preset native -j 2 --target morvel-convert morvel_corpus >&2
  )
fi
[[ -x $CONVERT ]] || die "$CONVERT was not built"
[[ -x $GENERATOR ]] || die "$GENERATOR was not built"

# --- Work folder ------------------------------------------------------------------------------

# Inputs take about 620 MB, the largest output (the page of the tabs) 1.2 GB; ask for 2 GB.
NEED_KB=$((2 * 1024 * 1024))
free_kb() { df -Pk -- "$1" 2>/dev/null | awk 'NR == 2 { print $4 }'; }
if [[ -n ${WORK:-} ]]; then
  WHERE="$WORK (set by WORK)"
elif [[ -d /dev/shm && -w /dev/shm ]] && (( $(free_kb /dev/shm || echo 0) > NEED_KB )); then
  WORK=/dev/shm/morvel-compare
  WHERE="$WORK (memory-backed /dev/shm)"
else
  WORK="${TMPDIR:-/tmp}/morvel-compare"
  WHERE="$WORK (disk: /dev/shm missing or without 2 GB free)"
fi
mkdir -p -- "$WORK"
(( $(free_kb "$WORK" || echo 0) > NEED_KB / 2 )) || say "warning: little free space in $WORK"

# --- Inputs -----------------------------------------------------------------------------------

CORPUS="$WORK/prose-50MB.txt"
CORPUS2="$WORK/prose-100MB.txt"
SLICE="$WORK/prose-5MB.txt"
LONG="$WORK/long-8x1MB.txt"
LONG_HALF="$WORK/long-8x500KB.txt"
TINY="$WORK/one-line.txt"
TABS="$WORK/tabs-100MB-line.txt"
MIXED="$WORK/mixed-100MB-line.txt"
UTF8_LINE="$WORK/utf8-100MB-line.txt"
OUT="$WORK/out.htm"
ERR="$WORK/err.txt"
RSS_FILE="$WORK/rss.txt"

# /dev/shm is memory: the files go when the script ends, however it ends.
# shellcheck disable=SC2317  # run by the trap below
remove_files() {
  rm -f -- "$OUT" "$ERR" "$RSS_FILE"
  if [[ ${KEEP:-0} != 1 ]]; then
    rm -f -- "$CORPUS" "$CORPUS2" "$SLICE" "$LONG" "$LONG_HALF" "$TINY" "$TABS" "$MIXED" "$UTF8_LINE" \
      "${SLICE%.txt}.utf8.txt" "${CORPUS%.txt}.utf8.txt"
    rmdir -- "$WORK" 2>/dev/null || true
  fi
}
trap remove_files EXIT

say "Writing the inputs to $WORK..."
"$GENERATOR" prose "$CORPUS_BYTES" "$CORPUS"
cat -- "$CORPUS" "$CORPUS" >"$CORPUS2"
head -n 1 -- "$CORPUS" >"$TINY"
# The first 5 MB, cut after the last whole line.
head -c "$SLICE_BYTES" -- "$CORPUS" | perl -0777 -pe 's/[^\n]*\z//' >"$SLICE"
"$GENERATOR" long "$LONG_LINES" "$LONG_LINE_BYTES" "$LONG"
"$GENERATOR" long "$LONG_LINES" $((LONG_LINE_BYTES / 2)) "$LONG_HALF"
# One line each, without a line end: every tab becomes 12 bytes; the mixed piece asks for two
# entities, a tab expansion and a link.
"$GENERATOR" repeat "$ONE_LINE_BYTES" $'\t' "$TABS"
"$GENERATOR" repeat "$ONE_LINE_BYTES" $'&\t<http://x/ ' "$MIXED"
# One UTF-8 line of Japanese, a character code page 932 lacks, an entity, a tab and a link.
"$GENERATOR" repeat "$ONE_LINE_BYTES" $'\xe9\x9b\xaa\xe2\x98\x83 a&b\thttp://x.jp/\xe2\x98\x83y ' "$UTF8_LINE"
# The prose in UTF-8: morvel-convert's UTF-8 page is timed on it, and txt2html and pandoc,
# which read UTF-8, get it (and the long-line file as it is: it is ASCII).
iconv -f CP932 -t UTF-8 "$CORPUS" >"${CORPUS%.txt}.utf8.txt"
iconv -f CP932 -t UTF-8 "$SLICE" >"${SLICE%.txt}.utf8.txt"
CORPUS_SHA=$(sha256sum -- "$CORPUS" | cut -c 1-16)

# --- Measuring --------------------------------------------------------------------------------

bytes_of() { stat -c %s -- "$1"; }
base() { basename -- "$1"; }

# command_for NAME IN: the command that reads IN and writes the page $OUT (ARGV), and where
# its standard output goes (TO).
command_for() {
  TO=/dev/null
  case $1 in
    cat) ARGV=(cat -- "$2"); TO=$OUT ;;
    morvel-convert) ARGV=("$CONVERT" -f -q "$2" "$OUT") ;;
    txt2html) ARGV=(txt2html --eight_bit_clean --infile "$2" --outfile "$OUT") ;;
    pandoc) ARGV=(pandoc -f markdown -t html -o "$OUT" "$2") ;;
  esac
}

# Results: one row per measurement, and cat's median per file for the ratios.
declare -a ROWS=()
declare -A CAT_US=() MEDIAN_US=() RSS_KB=() PAGE_BYTES=()

median() {
  sort -n | awk '{ v[NR] = $1 }
    END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%d\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# run_once LIMIT: runs ARGV once and sets RC, ELAPSED_US and (with a LIMIT) KB. LIMIT 0 runs
# it bare; otherwise through GNU time and timeout, whose cost is nothing next to the slow tools'.
run_once() {
  rm -f -- "$OUT" "$RSS_FILE"
  local start end
  RC=0
  # EPOCHREALTIME without its decimal point: microseconds, read without starting a process.
  start=${EPOCHREALTIME//[.,]/}
  if [[ $1 == 0 ]]; then
    "${ARGV[@]}" >"$TO" 2>"$ERR" || RC=$?
  else
    /usr/bin/time -f '%M' -o "$RSS_FILE" timeout "$1" "${ARGV[@]}" >"$TO" 2>"$ERR" || RC=$?
  fi
  end=${EPOCHREALTIME//[.,]/}
  ELAPSED_US=$((10#$end - 10#$start))
  if ((RC == 0)) && [[ ! -s $OUT ]]; then
    echo "no output written" >>"$ERR"
    RC=1
  fi
  KB=0
  if [[ $1 != 0 && -s $RSS_FILE ]]; then KB=$(tail -n 1 -- "$RSS_FILE"); fi
}

# measure NAME FILE RUNS LIMIT
#   LIMIT 0 (cat and morvel-convert): one warm-up run, RUNS timed runs, and one more run under
#   GNU time for the peak memory. Otherwise (txt2html and pandoc) every timed run goes through
#   GNU time and a timeout of LIMIT seconds, without a warm-up.
measure() {
  local name=$1 file=$2 runs=$3 limit=$4 i=0 rss=0 status=ok
  local -a times=()
  command_for "$name" "$file"
  say "  $name $(base "$file"): $runs run(s)"
  if [[ $limit == 0 ]]; then
    run_once 0
    ((RC == 0)) || status=failed
  fi
  while [[ $status == ok ]] && ((i < runs)); do
    run_once "$limit"
    if ((RC == 124)) && [[ $limit != 0 ]]; then
      status="timed out"
    elif ((RC != 0)); then
      status=failed
    else
      times+=("$ELAPSED_US")
      ((KB <= rss)) || rss=$KB
    fi
    i=$((i + 1))
  done
  if [[ $status == ok && $limit == 0 ]]; then
    rm -f -- "$OUT" "$RSS_FILE"
    if /usr/bin/time -f '%M' -o "$RSS_FILE" "${ARGV[@]}" >"$TO" 2>"$ERR"; then
      rss=$(tail -n 1 -- "$RSS_FILE")
      PAGE_BYTES["$name|$file"]=$(bytes_of "$OUT")
    else
      status=failed
    fi
  fi
  if [[ $status == failed ]]; then say "    failed: $(head -c 300 -- "$ERR" | tr '\n' ' ')"; fi
  rm -f -- "$OUT"
  local key="$name|$file"
  if [[ $status == ok ]]; then
    MEDIAN_US[$key]=$(printf '%s\n' "${times[@]}" | median)
    RSS_KB[$key]=$rss
    if [[ $name == cat ]]; then CAT_US[$file]=${MEDIAN_US[$key]}; fi
  fi
  ROWS+=("$name|$file|$runs|$status|$limit")
}

# The slow tools on FILE, when wanted and installed.
measure_others() {
  local file=$1 runs=$2 limit=$3 tool
  [[ $OTHERS == 1 ]] || return 0
  for tool in txt2html pandoc; do
    if command -v "$tool" >/dev/null; then
      measure "$tool" "$file" "$runs" "$limit"
    else
      ROWS+=("$tool|$file|0|not installed|0")
    fi
  done
}

SLICE_UTF8="${SLICE%.txt}.utf8.txt"
CORPUS_UTF8="${CORPUS%.txt}.utf8.txt"

say "Timing (median of the runs, whole processes)..."
for file in "$TINY" "$CORPUS" "$CORPUS2" "$SLICE"; do
  measure cat "$file" "$RUNS" 0
  measure morvel-convert "$file" "$RUNS" 0
done
measure cat "$CORPUS_UTF8" "$RUNS" 0
measure morvel-convert "$CORPUS_UTF8" "$RUNS" 0
if [[ $OTHERS == 1 ]]; then
  measure cat "$SLICE_UTF8" "$RUNS" 0
  measure_others "$SLICE_UTF8" "$SLOW_RUNS" "$TIMEOUT"
  if [[ $FULL_OTHERS == 1 ]]; then measure_others "$CORPUS_UTF8" 1 "$TIMEOUT"; fi
fi
for file in "$LONG" "$LONG_HALF" "$TABS" "$MIXED" "$UTF8_LINE"; do
  measure cat "$file" "$RUNS" 0
  measure morvel-convert "$file" "$RUNS" 0
done
measure_others "$LONG_HALF" 1 "$LONG_TIMEOUT"

# The prose in UTF-8 next to the same prose in code page 932, each to its own page: the two in
# turn, 2 × RUNS pairs, and the median of each pair's ratio.
declare -a UTF8_RATIOS=()
if [[ -n ${MEDIAN_US["morvel-convert|$CORPUS"]:-} && -n ${MEDIAN_US["morvel-convert|$CORPUS_UTF8"]:-} ]]; then
  say "  morvel-convert $(base "$CORPUS") and $(base "$CORPUS_UTF8") in turn: $((2 * RUNS)) pairs"
  for ((round = 0; round < 2 * RUNS; ++round)); do
    command_for morvel-convert "$CORPUS"
    run_once 0
    cp932_us=$ELAPSED_US
    command_for morvel-convert "$CORPUS_UTF8"
    run_once 0
    UTF8_RATIOS+=("$(awk -v a="$ELAPSED_US" -v b="$cp932_us" 'BEGIN { printf "%.4f", a / b }')")
  done
  rm -f -- "$OUT"
fi

# For the linear-time check: the one-line file (start-up), the half-size and the full long-line
# files in turn, 2 × RUNS rounds, keeping each file's fastest run. Taking turns spreads any
# other work on the machine over all three, and that work only ever adds time.
declare -A LINEAR_US=()
if [[ -n ${MEDIAN_US["morvel-convert|$LONG"]:-} && -n ${MEDIAN_US["morvel-convert|$LONG_HALF"]:-} ]]; then
  say "  morvel-convert $(base "$TINY"), $(base "$LONG_HALF"), $(base "$LONG") in turn: $((2 * RUNS)) rounds"
  for ((round = 0; round < 2 * RUNS; ++round)); do
    for file in "$TINY" "$LONG_HALF" "$LONG"; do
      command_for morvel-convert "$file"
      run_once 0
      ((RC == 0)) || die "morvel-convert failed on $(base "$file"): $(head -c 300 -- "$ERR")"
      if [[ -z ${LINEAR_US[$file]:-} ]] || ((ELAPSED_US < LINEAR_US[$file])); then
        LINEAR_US[$file]=$ELAPSED_US
      fi
    done
  done
  rm -f -- "$OUT"
fi

# Instructions per input byte on the 5 MB prose, each encoding to its own page, counted by
# callgrind (when valgrind is installed): a count that the machine's load does not move.
declare -A IR_PER_BYTE=()
if command -v valgrind >/dev/null; then
  for file in "$SLICE" "$SLICE_UTF8"; do
    say "  morvel-convert $(base "$file") under callgrind"
    if valgrind --tool=callgrind --callgrind-out-file=/dev/null "$CONVERT" -f -q --stamp off \
      "$file" "$OUT" >/dev/null 2>"$ERR"; then
      ir=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' -- "$ERR" | tail -n 1)
      if [[ -n $ir ]]; then
        IR_PER_BYTE[$file]=$(awk -v i="$ir" -v b="$(bytes_of "$file")" 'BEGIN { printf "%.2f", i / b }')
      fi
    fi
    rm -f -- "$OUT"
  done
fi

# --- Report -----------------------------------------------------------------------------------

fmt_time() { awk -v us="$1" 'BEGIN { if (us >= 10e6) printf "%.2f s", us / 1e6; else printf "%.1f ms", us / 1e3 }'; }
fmt_mb() { awk -v b="$1" 'BEGIN { printf "%.1f MB", b / 1e6 }'; }
fmt_rss() { awk -v kb="$1" 'BEGIN { printf "%.1f MiB", kb / 1024 }'; }

echo
echo "Work folder: $WHERE"
echo "morvel-convert: $CONVERT ($(git -C "$ROOT" rev-parse --short HEAD 2>/dev/null || echo '?'))," \
  "default switches; $(nproc) CPU(s): $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
echo "Prose: $(fmt_mb "$(bytes_of "$CORPUS")") of code page 932, CR LF, sha256 $CORPUS_SHA...;" \
  "the 100 MB file is it twice; the 5 MB one its first lines."
echo
# ms per MB of page: the wall time over the page's size.
per_page_mb() { awk -v us="$1" -v b="$2" 'BEGIN { printf "%.2f", (us / 1e3) / (b / 1e6) }'; }

echo "| tool | file | runs | median wall time | MB/s | × cat | peak RSS | ms per MB of page |"
echo "|---|---|---:|---:|---:|---:|---:|---:|"
for row in "${ROWS[@]}"; do
  IFS='|' read -r name file runs status limit <<<"$row"
  key="$name|$file"
  label=$(base "$file")
  if [[ $status != ok ]]; then
    [[ $status == "timed out" ]] && status="timed out (> ${limit} s)"
    echo "| $name | $label | $runs | $status | n/a | n/a | n/a | n/a |"
    continue
  fi
  us=${MEDIAN_US[$key]}
  bytes=$(bytes_of "$file")
  mbps=$(awk -v b="$bytes" -v us="$us" 'BEGIN {
    r = us > 0 ? b / us : 0; if (b < 1e6) print "–"; else printf(r < 10 ? "%.1f\n" : "%.0f\n", r) }')
  ratio=n/a
  [[ -n ${CAT_US[$file]:-} ]] && ratio=$(awk -v a="$us" -v c="${CAT_US[$file]}" 'BEGIN { printf "%.2f", a / c }')
  per_page=–
  if [[ $name == morvel-convert && -n ${PAGE_BYTES[$key]:-} ]] && ((PAGE_BYTES[$key] >= 1000000)); then
    per_page=$(per_page_mb "$us" "${PAGE_BYTES[$key]}")
  fi
  echo "| $name | $label | $runs | $(fmt_time "$us") | $mbps | $ratio | $(fmt_rss "${RSS_KB[$key]}") | $per_page |"
done
echo
echo "MB = 10^6 bytes of input; × cat = wall time over cat's on the same file (cat FILE > OUT);"
echo "peak RSS from GNU time (%M). one-line.txt (the first line) shows the start-up cost. The"
echo "long-line files are 8 lines of 1 MB and 8 lines of 0.5 MB of \"&\", tabs and \"http://x/ \":"
echo "halving the line length, not the line count, is what shows time growing faster than the line."
echo "tabs-100MB-line.txt and mixed-100MB-line.txt are one line of 100 MB each, of tabs and of"
echo "\"&\\t<http://x/ \" over and over; their pages are 1.2 GB and 423 MB. utf8-100MB-line.txt is"
echo "one UTF-8 line of \"雪☃ a&b\\thttp://x.jp/☃y \" over and over. prose-50MB.utf8.txt is the"
echo "prose in UTF-8 (iconv), which gets a UTF-8 page."
if [[ $OTHERS == 1 ]]; then
  echo "txt2html (--eight_bit_clean) and pandoc (-f markdown -t html) read UTF-8, so they get the"
  echo "prose converted by iconv (.utf8.txt: same text, more bytes; MB/s counts those bytes) and"
  echo "the long-line file as it is (ASCII), one run with a ${LONG_TIMEOUT} s limit."
  [[ $FULL_OTHERS == 1 ]] || echo "They ran on the 5 MB slice only (FULL_OTHERS=0)."
fi
echo

# --- Targets ----------------------------------------------------------------------------------

verdict() { if [[ $1 == 1 ]]; then echo PASS; else echo FAIL; fi; }

m_corpus=${MEDIAN_US["morvel-convert|$CORPUS"]:-}
c_corpus=${CAT_US[$CORPUS]:-}
if [[ -n $m_corpus && -n $c_corpus ]]; then
  ratio=$(awk -v a="$m_corpus" -v c="$c_corpus" 'BEGIN { printf "%.2f", a / c }')
  ok=$(awk -v r="$ratio" -v l="$SPEED_LIMIT" 'BEGIN { print (r <= l) ? 1 : 0 }')
  echo "- $(verdict "$ok"): morvel-convert on $(base "$CORPUS") takes ${ratio} × cat's wall time (target ≤ ${SPEED_LIMIT} ×)"
else
  echo "- FAIL: morvel-convert on $(base "$CORPUS") did not complete"
fi

if ((${#UTF8_RATIOS[@]} > 0)); then
  ratio=$(printf '%s\n' "${UTF8_RATIOS[@]}" | sort -n | awk '{ v[NR] = $1 }
    END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
  ok=$(awk -v r="$ratio" -v l="$UTF8_LIMIT" 'BEGIN { print (r <= l) ? 1 : 0 }')
  echo "- $(verdict "$ok"): morvel-convert on $(base "$CORPUS_UTF8") (its UTF-8 page) takes" \
    "$(awk -v r="$ratio" 'BEGIN { printf "%.2f", r }') × its time on $(base "$CORPUS") (its code page 932 page);" \
    "median of $((2 * RUNS)) pairs run in turn (target ≤ ${UTF8_LIMIT} ×)"
else
  echo "- FAIL: morvel-convert on $(base "$CORPUS_UTF8") or $(base "$CORPUS") did not complete"
fi

if command -v valgrind >/dev/null; then
  for pair in "$SLICE|$IR_LIMIT" "$SLICE_UTF8|$IR_UTF8_LIMIT"; do
    IFS='|' read -r file limit <<<"$pair"
    per_byte=${IR_PER_BYTE[$file]:-}
    if [[ -n $per_byte ]]; then
      ok=$(awk -v r="$per_byte" -v l="$limit" 'BEGIN { print (r <= l) ? 1 : 0 }')
      echo "- $(verdict "$ok"): morvel-convert on $(base "$file") runs ${per_byte} instructions per" \
        "input byte (callgrind, --stamp off; target ≤ ${limit})"
    else
      echo "- FAIL: morvel-convert on $(base "$file") did not complete under callgrind"
    fi
  done
else
  echo "- (instructions per byte not counted: valgrind is not installed)"
fi

for file in "$CORPUS" "$CORPUS2" "$TABS" "$MIXED" "$UTF8_LINE"; do
  kb=${RSS_KB["morvel-convert|$file"]:-}
  if [[ -n $kb ]]; then
    ok=$((kb < RSS_LIMIT_KB ? 1 : 0))
    echo "- $(verdict "$ok"): morvel-convert peak RSS on $(base "$file") is $(fmt_rss "$kb") (target < 16 MiB)"
  else
    echo "- FAIL: morvel-convert on $(base "$file") did not complete"
  fi
done

# Time per MB of page on the one-line files next to the prose's.
prose_us=${MEDIAN_US["morvel-convert|$CORPUS"]:-}
prose_page=${PAGE_BYTES["morvel-convert|$CORPUS"]:-}
for file in "$TABS" "$MIXED"; do
  us=${MEDIAN_US["morvel-convert|$file"]:-}
  page=${PAGE_BYTES["morvel-convert|$file"]:-}
  if [[ -n $us && -n $page && -n $prose_us && -n $prose_page ]]; then
    read -r mine prose ratio ok < <(awk -v u="$us" -v b="$page" -v pu="$prose_us" -v pb="$prose_page" \
      -v l="$PAGE_TIME_LIMIT" 'BEGIN { m = (u / 1e3) / (b / 1e6); p = (pu / 1e3) / (pb / 1e6)
        printf "%.2f %.2f %.2f %d\n", m, p, m / p, m / p <= l }')
    echo "- $(verdict "$ok"): morvel-convert on $(base "$file") takes ${mine} ms per MB of page," \
      "${ratio} × the prose's ${prose} (target ≤ ${PAGE_TIME_LIMIT} ×)"
  else
    echo "- FAIL: morvel-convert on $(base "$file") or $(base "$CORPUS") did not complete"
  fi
done

# Time per MB with the start-up time (the one-line file's) taken off, which would otherwise
# weigh more on the smaller file.
full=${LINEAR_US[$LONG]:-}
half=${LINEAR_US[$LONG_HALF]:-}
startup=${LINEAR_US[$TINY]:-0}
if [[ -n $full && -n $half ]]; then
  read -r per_full per_half growth ok < <(awk -v f="$full" -v fb="$(bytes_of "$LONG")" \
    -v h="$half" -v hb="$(bytes_of "$LONG_HALF")" -v s="$startup" -v l="$LINEAR_LIMIT" 'BEGIN {
      pf = (f - s) / (fb / 1e6); ph = (h - s) / (hb / 1e6); g = ph > 0 ? pf / ph : 0
      printf "%.1f %.1f %.2f %d\n", pf / 1e3, ph / 1e3, g, g <= l }')
  echo "- $(verdict "$ok"): long lines take ${per_full} ms/MB with 1 MB lines and ${per_half} ms/MB with" \
    "0.5 MB lines: ${growth} × (target ≤ ${LINEAR_LIMIT} ×, linear time; fastest of $((2 * RUNS))" \
    "runs taken in turn, $(fmt_time "$startup") of start-up taken off)"
  echo "  (peak RSS $(fmt_rss "${RSS_KB["morvel-convert|$LONG"]}") with 1 MB lines," \
    "$(fmt_rss "${RSS_KB["morvel-convert|$LONG_HALF"]}") with 0.5 MB lines)"
else
  echo "- FAIL: morvel-convert on the long-line files did not complete"
fi
exit 0
