#!/bin/sh
# The main window with a generated traverse of each kind: opening the data
# file into the grid and computing it (wall time of each, one mean of 3
# iterations), and the longest hold of the event loop while the grid and the
# results pane are scrolled to their ends and painted.
#
# usage: bench/window_bench.sh [BUILD_DIR] [STATIONS]   (STATIONS: 10000)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
stations=${2:-10000}
bench=$build/bin/window_bench
[ -x "$bench" ] || { echo "no window_bench in $build/bin" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for kind in F B Z W; do
  python3 "$here/make_traverse.py" "$kind" "$stations" "$work/$kind.dat" "$work/$kind.ini"
done
QT_QPA_PLATFORM=offscreen "$bench" "$work"
