#!/bin/sh
# Bounded work of the batch network adjustment: CPU seconds (user + system),
# wall seconds, peak resident memory and the exit status of
#   korvane-cli network --data FILE > out.txt
# for the inputs bench/make_network.py writes:
#   chain 160000   a connecting traverse of 160,000 new points (about 12 MB),
#                  solved on the sparse factorisation;
#   weak 4000      a grid of about 4,000 new points and one point held by a
#                  fixed azimuth and a 2 m side (sparse as well);
#   tiny 4000      the same with that side 1 cm: above the fall-back size the
#                  point is refused and named at once;
#   tiny 985       the same at about 1,960 unknowns, just within the fall-back
#                  size: the QR of the design and the full inverse;
#   set 100000     one direction set of 100,000 directions with their sides;
#   repeat 100000  the same set with a target read twice;
#   junction 100000  a lattice of junction traverses, about 100,000 new points.
# The limit each must keep: 60 s and 2 GB on a 2-core machine.
#
# usage: bench/network_cli_bench.sh [BUILD_DIR] [WORK_DIR]   (CASES="chain:160000 ...")
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
cli=$(cd "$build" && pwd)/bin/korvane-cli
work=${2:-$build/bench-network}
cases=${CASES:-chain:160000 weak:4000 tiny:4000 tiny:985 set:100000 repeat:100000 junction:100000}
[ -x "$cli" ] || { echo "no korvane-cli in $build/bin" >&2; exit 1; }
mkdir -p "$work"
work=$(cd "$work" && pwd)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '%-14s %9s %8s %8s %9s %6s  %s\n' input "file MB" "cpu s" "wall s" "peak MB" status "first line of stderr"
for c in $cases; do
  kind=${c%%:*}
  size=${c#*:}
  python3 "$here/make_network.py" "$kind" "$size" in.net
  status=0
  /usr/bin/time -f '%U %S %e %M' -o time.txt "$cli" network --data in.net >out.txt 2>err.txt || status=$?
  tail -n 1 time.txt | awk -v name="$kind $size" -v bytes="$(wc -c <in.net)" -v status="$status" \
    -v err="$(head -n 1 err.txt)" \
    '{ printf "%-14s %9.1f %8.2f %8.2f %9.0f %6d  %s\n", name, bytes / 1048576, $1 + $2, $3, $4 / 1024, status, err }'
done
