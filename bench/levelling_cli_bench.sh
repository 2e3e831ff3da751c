#!/bin/sh
# CPU seconds (user + system) of the batch levelling network adjustment
#   korvane-cli level --data FILE --method network > out.txt
# on a generated junction network of SIZE new points (bench/make_levelling.py:
# a square grid, about two sections per point, four benchmarks), RUNS times,
# and their median.
#
# usage: bench/levelling_cli_bench.sh [BUILD_DIR] [SIZE] [RUNS]   (defaults: build 10000 5)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
size=${2:-10000}
runs=${3:-5}
cli=$(cd "$build" && pwd)/bin/korvane-cli
[ -x "$cli" ] || { echo "no korvane-cli in $build/bin" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 "$here/make_levelling.py" "$size" in.lev
i=0
while [ "$i" -lt "$runs" ]; do
  /usr/bin/time -f '%U %S' -o time.txt "$cli" level --data in.lev --method network >out.txt
  awk '{ printf "%.2f\n", $1 + $2 }' time.txt >>cpu.txt
  i=$((i + 1))
done
printf 'levelling network %s points, cpu s per run: %s\n' "$size" "$(tr '\n' ' ' <cpu.txt)"
sort -n cpu.txt | awk '{ v[NR] = $1 } END { printf "median cpu s: %.2f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
