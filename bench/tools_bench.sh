#!/bin/sh
# Throughput of the file splitter and the point conversion against the system
# tools doing the same work, on the same file system with a warm cache:
#   split:   korvane-cli split        vs  split -b 1447035 + sync -f
#   merge:   korvane-cli merge        vs  cat pieces > file + sync -f
#   convert: korvane-cli convert      vs  awk -F, -v OFS=, '{print $3,$2,$1}'
# Each is the median of 3 runs. Then a sparse file just over 2 GiB is split
# and merged back and compared byte for byte.
#
# usage: bench/tools_bench.sh [BUILD_DIR] [WORK_DIR]
#   SIZE_MB=1024 (file size for split/merge), LINES=1000000 (point file lines)
set -eu
build=${1:-build}
cli=$(cd "$build" && pwd)/bin/korvane-cli
work=${2:-$build/bench-tools}
size_mb=${SIZE_MB:-1024}
lines=${LINES:-1000000}
[ -x "$cli" ] || { echo "no korvane-cli in $build/bin" >&2; exit 1; }
mkdir -p "$work"
work=$(cd "$work" && pwd)
trap 'rm -rf "$work"' EXIT
cd "$work"

now() { date +%s.%N; }
# median of three numbers
median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }
# seconds taken by a shell command
# seconds taken by a shell command, started with nothing left to write
timed() { sync; t0=$(now); sh -c "$1" >/dev/null; t1=$(now); awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }'; }
calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }
rate() { calc "$size_mb / $1"; }
clean() { rm -rf pieces merged.bin merged.out; mkdir pieces; sync; }
base_run() {
  clean
  base_split="$base_split $(timed "split -b 1447035 -a 4 src.bin pieces/s. && sync -f pieces")"
  base_merge="$base_merge $(timed "cat pieces/s.* > merged.bin && sync -f merged.bin")"
}
ours_run() {
  clean
  ours_split="$ours_split $(timed "'$cli' split src.bin --target 'pieces/src\$bin'")"
  ours_merge="$ours_merge $(timed "'$cli' merge merged.out --from 'pieces/src\$bin.001'")"
  cmp src.bin merged.out
}

echo "source: $size_mb MiB of random bytes"
head -c "${size_mb}M" /dev/urandom > src.bin
cat src.bin > /dev/null  # warm cache

ours_split=; base_split=; ours_merge=; base_merge=
# The order alternates so that neither side always follows the other's deletions.
for run in 1 2 3; do
  if [ $((run % 2)) -eq 1 ]; then base_run; ours_run; else ours_run; base_run; fi
done
bs=$(median $base_split); os=$(median $ours_split)
bm=$(median $base_merge); om=$(median $ours_merge)
echo "split:  korvane $(rate "$os") MiB/s  split+sync $(rate "$bs") MiB/s  ratio $(calc "$bs / $os")"
echo "merge:  korvane $(rate "$om") MiB/s  cat+sync   $(rate "$bm") MiB/s  ratio $(calc "$bm / $om")"
clean
rm -f src.bin

echo "point file: $lines lines"
awk -v n="$lines" 'BEGIN { srand(3); for (i = 1; i <= n; i++)
  printf "P%07d,%.3f,%.3f,%.3f,code%d\r\n", i, 3400000 + rand() * 1e5, 500000 + rand() * 1e5, rand() * 300, i % 9 }' > points.dat
cat points.dat > /dev/null
ours_conv=; base_conv=
for run in 1 2 3; do
  base_conv="$base_conv $(timed "awk -F, -v OFS=, '{print \$3,\$2,\$1}' points.dat > awk.out")"
  ours_conv="$ours_conv $(timed "'$cli' convert points.dat --columns 3,2,1 --out korvane.out --replace")"
done
bc_=$(median $base_conv); oc=$(median $ours_conv)
echo "convert: korvane ${oc}s  awk ${bc_}s  ratio $(calc "$bc_ / $oc")"
rm -f points.dat awk.out korvane.out

echo "sparse file of 2 GiB + 1 byte: split and merge back"
truncate -s 2G sparse.bin
printf 'end' >> sparse.bin
printf 'start' | dd of=sparse.bin conv=notrunc status=none
"$cli" split sparse.bin --kb 1048576 --target 'pieces/sparse$bin' > /dev/null
ls -l pieces | grep -c 'sparse\$bin\.' | sed 's/^/pieces: /'
"$cli" merge sparse.out --from 'pieces/sparse$bin.001' > /dev/null
cmp sparse.bin sparse.out && echo "sparse round trip: identical ($(stat -c %s sparse.out) bytes)"
