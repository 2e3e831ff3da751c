#!/bin/bash
# Runs two builds of korvane-cli on the examples and on generated traverses,
# weighted traverses, levelling lines and networks, and compares every byte
# they print and write: standard output, standard error, the exit status and
# every file written. A rework that must not change a result is checked with
#   bench/compare_cli.sh OLD/korvane-cli NEW/korvane-cli
# Prints one line per difference and "相同: N 次运行" at the end; exit 1 on any
# difference.
set -u
old=$(readlink -f "$1"); new=$(readlink -f "$2")
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in"
cp -r "$here/examples/." "$work/in/"
cd "$work/in"
for k in F B Z W; do
  for n in 3 17 250; do python3 "$here/bench/make_traverse.py" $k $n t$k$n.dat t$k$n.ini; done
done
for n in 3 40 400; do python3 "$here/bench/make_rigorous.py" $n r$n.dat; done
for shape in chain weak; do
  for n in 30 300; do python3 "$here/bench/make_network.py" $shape $n $shape$n.net 2>/dev/null; done
done
cases=()
for f in closed connecting no_orientation open; do cases+=("traverse --start $f.ini --data $f.dat --out OUT.txt --sketch OUT.png"); done
for k in F B Z W; do for n in 3 17 250; do cases+=("traverse --start t$k$n.ini --data t$k$n.dat --kind $k"); done; done
for f in rigorous/connecting.dat rigorous/one_way.dat r3.dat r40.dat r400.dat; do
  cases+=("rigorous --data $f --continue --html OUT.html")
  for std in 城市测量规范 工程测量规范 水工测量规范; do
    for g in 三等 四等 五等 一级 二级 三级 图根; do cases+=("rigorous --data $f --check --continue --standard $std --grade $g"); done
  done
done
for f in levelling/line.lev levelling/loop.lev levelling/network.lev; do
  for m in auto line loop network; do cases+=("level --data $f --method $m --html OUT.html"); done
done
for f in network/junction.net chain30.net chain300.net weak30.net weak300.net; do
  cases+=("network --data $f --html OUT.html --sketch OUT.png" "network --data $f --check --standard 工程测量规范 --grade 四等")
done
cases+=("geodetic direct -- 30.3030 45.1234 114.2020 12345.678" "geodetic inverse --ellipsoid wgs84 -- 30.3 114.2 31.4 115.5"
        "calc -- 2 + 3 x 4 =" "calc --degrees -- 30 sin" "intersect angles -- 100 100 100 300 60 60"
        "intersect distances -- 100 100 100 300 150 150" "resect -- 0 0 0 100 100 50 45 60"
        "centring -- 100 0.005 30.2" "gauss forward --zone 38 -- 30.5 114.3" "gauss inverse --zone-width 3 --zone 38 -- 3380000 38500000"
        "reduce -- 1000 50 20000" "height -- 100 5.3 1.5 1.6 50" "height --zenith -- 100 85.0 1.5 1.6 50")
same=0; diff=0
for c in "${cases[@]}"; do
  for side in old new; do
    rm -rf "$work/$side"; mkdir -p "$work/$side"; cp -r "$work/in/." "$work/$side/"
    cli=$old; [ $side = new ] && cli=$new
    (cd "$work/$side" && eval "\"$cli\" $c" > stdout.txt 2> stderr.txt; echo $? > status.txt)
  done
  if d=$(diff -r "$work/old" "$work/new" 2>&1); then same=$((same+1)); else diff=$((diff+1)); echo "不同: $c"; echo "$d" | head -5; fi
done
echo "相同: $same 次运行, 不同: $diff"
[ $diff -eq 0 ]
