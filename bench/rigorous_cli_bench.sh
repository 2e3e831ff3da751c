#!/bin/sh
# Peak resident memory of the batch weighted adjustment
#   korvane-cli rigorous --data FILE.dat [--html OUT.html]
# on files of the shortest lines (bench/make_rigorous.py), the hardest case of
# the memory bound "peak of the same command on an empty file + 10 x the
# file's size". The report is written to standard output, or with the
# picture beside it with HTML=1. Each figure is the median of RUNS runs.
#   bound_empty: from the empty file (refused before anything is computed);
#   bound_small: from a traverse of 3 stations, which also pays the fixed
#                start of the picture's renderer (fonts, the picture itself).
#
# usage: bench/rigorous_cli_bench.sh [BUILD_DIR] [WORK_DIR]
#   SIZES="1000 10000", RUNS=5, HTML=1
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
cli=$(cd "$build" && pwd)/bin/korvane-cli
work=${2:-$build/bench-rigorous}
sizes=${SIZES:-1000 10000}
runs=${RUNS:-5}
[ -x "$cli" ] || { echo "no korvane-cli in $build/bin" >&2; exit 1; }
mkdir -p "$work"
work=$(cd "$work" && pwd)
trap 'rm -rf "$work"' EXIT
cd "$work"
set --
[ "${HTML:-}" = 1 ] && set -- --html out.html

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
mb() { awk "BEGIN { printf \"%.1f\", ($1) / 1024 }"; }

# Median peak KB of the command on a file.
peak() {
  file=$1
  shift
  peaks=
  i=0
  while [ $i -lt "$runs" ]; do
    /usr/bin/time -f '%M' -o time.txt "$cli" rigorous --data "$file" "$@" >out.txt 2>err.txt || true
    peaks="$peaks $(tail -n 1 time.txt)"
    i=$((i + 1))
  done
  median $peaks
}

printf '\r\n' >empty.dat
python3 "$here/make_rigorous.py" 3 small.dat
empty_kb=$(peak empty.dat "$@")
small_kb=$(peak small.dat "$@")
printf 'empty file %s MB, 3 stations %s MB\n' "$(mb "$empty_kb")" "$(mb "$small_kb")"
printf '%8s %10s %9s %12s %12s\n' stations bytes peak_MB bound_empty bound_small
for n in $sizes; do
  python3 "$here/make_rigorous.py" "$n" data.dat
  size=$(stat -c %s data.dat)
  kb=$(peak data.dat "$@")
  grep -q '<IMG' out.txt out.html 2>/dev/null || { echo "$n: no complete report" >&2; cat err.txt >&2; }
  printf '%8s %10s %9s %12s %12s\n' "$n" "$size" "$(mb "$kb")" \
    "$(mb "$empty_kb + 10 * $size / 1024")" "$(mb "$small_kb + 10 * $size / 1024")"
done
