#!/bin/sh
# CPU time and peak resident memory of the whole batch command
#   korvane-cli traverse --start START.ini --data TRAVERSE.dat > out.txt
# for the four kinds (F connecting, B closed, Z open, W no-orientation), from
# reading the files to the last line, standard output going to a file in the
# work folder, warm cache. Each figure is the median of 5 runs.
#   - 100,000 stations: CPU seconds (user + system), peak RSS in MB, and the
#     memory bound: peak of an empty traverse + 10 x the data file's size;
#   - the time per station above the fixed start-up (the empty traverse) at
#     10,000, 100,000 and 1,000,000 stations, in microseconds.
#
# usage: bench/traverse_cli_bench.sh [BUILD_DIR] [WORK_DIR]
#   KINDS="F B Z W", SIZES="10000 100000 1000000", RUNS=5,
#   SHORT=1 for files of the shortest lines (the hardest case of the memory bound)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
cli=$(cd "$build" && pwd)/bin/korvane-cli
work=${2:-$build/bench-traverse}
kinds=${KINDS:-F B Z W}
sizes=${SIZES:-10000 100000 1000000}
runs=${RUNS:-5}
shape=
[ "${SHORT:-}" = 1 ] && shape=short
[ -x "$cli" ] || { echo "no korvane-cli in $build/bin" >&2; exit 1; }
mkdir -p "$work"
work=$(cd "$work" && pwd)
trap 'rm -rf "$work"' EXIT
cd "$work"

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
calc() { awk "BEGIN { printf \"%.${2:-3}f\", $1 }"; }

# One run: "cpu_seconds peak_kb"; the exit status is not checked here.
measure_once() {
  /usr/bin/time -f '%U %S %M' -o time.txt "$cli" traverse --start "$1" --data "$2" >out.txt 2>err.txt || true
  # the last line: a failing command adds a line about its exit status first
  tail -n 1 time.txt | awk '{ printf "%.3f %d\n", $1 + $2, $3 }'
}
# Median CPU seconds and median peak KB of $runs runs (after one warm-up run).
measure() {
  measure_once "$1" "$2" >/dev/null
  cpus= peaks=
  i=0
  while [ $i -lt "$runs" ]; do
    set -- "$1" "$2" $(measure_once "$1" "$2")
    cpus="$cpus $3" peaks="$peaks $4"
    set -- "$1" "$2"
    i=$((i + 1))
  done
  echo "$(median $cpus) $(median $peaks)"
}

printf '%-5s %8s %10s %9s %10s %12s %12s %12s\n' kind stations cpu_s peak_MB bound_MB \
  "us/st@10k" "us/st@100k" "us/st@1M"
for kind in $kinds; do
  python3 "$here/make_traverse.py" "$kind" 1 empty.dat start.ini $shape
  printf '%s,END\r\n' "$kind" >empty.dat
  set -- $(measure start.ini empty.dat)
  empty_cpu=$1 empty_kb=$2
  per=
  for n in $sizes; do
    python3 "$here/make_traverse.py" "$kind" "$n" data.dat start.ini $shape
    set -- $(measure start.ini data.dat)
    cpu=$1 kb=$2
    if ! tail -n 1 out.txt | grep -q '——'; then
      echo "$kind $n: the table did not come out complete:" >&2
      cat err.txt >&2
    fi
    per="$per $(calc "($cpu - $empty_cpu) / $n * 1000000" 2)"
    if [ "$n" = 100000 ]; then
      size=$(stat -c %s data.dat)
      line_cpu=$cpu line_mb=$(calc "$kb / 1024" 1)
      bound_mb=$(calc "($empty_kb * 1024 + 10 * $size) / 1048576" 1)
    fi
  done
  printf '%-5s %8s %10s %9s %10s' "$kind" 100000 "${line_cpu:-?}" "${line_mb:-?}" "${bound_mb:-?}"
  printf ' %12s' $per
  printf '\n'
done
