#!/usr/bin/env bash
# Kills korvane-cli with SIGKILL at random moments while it overwrites an
# existing results file, sketch, report and picture, and checks that every
# file is then either its old or its new content, that a report is never
# newer than its picture, and that the next successful run leaves no
# temporary file behind.
#   kill_trials.sh KORVANE_CLI EXAMPLES_FOLDER [TRIALS]
set -uo pipefail
cli=$1 examples=$2 trials=${3:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "kill trials: $*" >&2; exit 1; }

# Each command runs in place of its shell ("exec"), so that the kill reaches
# korvane-cli itself.
traverse() {  # traverse FOLDER DATA
  (exec "$cli" traverse --start "$examples/connecting.ini" --data "$2" --out "$1/results.txt" --sketch "$1/sketch.bmp")
}
rigorous() {  # rigorous FOLDER DATA
  (exec "$cli" rigorous --data "$2" --html "$1/report.html")
}
files=(results.txt sketch.bmp report.html report.bmp)

# The old contents and the new ones, each from a run to the end.
old_traverse="$examples/connecting.dat" old_rigorous="$examples/rigorous/connecting.dat"
new_traverse="$work/moved.dat" new_rigorous="$examples/rigorous/one_way.dat"
sed 's/^K1,109.04276,346.676,/K1,109.04276,346.686,/' "$old_traverse" >"$new_traverse"
mkdir -p "$work/old" "$work/new" "$work/run"
traverse "$work/old" "$old_traverse" >/dev/null && rigorous "$work/old" "$old_rigorous" || fail "the old run failed"
traverse "$work/new" "$new_traverse" >/dev/null && rigorous "$work/new" "$new_rigorous" || fail "the new run failed"
for f in "${files[@]}"; do
  cmp -s "$work/old/$f" "$work/new/$f" && fail "$f is the same before and after"
done

no_temporaries() {
  local left
  left=$(find "$work/run" -name '.*' -type f | head -n 5)
  [ -z "$left" ] || fail "temporary files left after a successful run: $left"
}

for ((t = 1; t <= trials; t++)); do
  cp "$work"/old/* "$work/run/"
  # Up to 0.6 s: from before the first write to after the last.
  delay=$(printf '0.%03d' $((RANDOM % 600)))
  if ((t % 2)); then
    exec "$cli" traverse --start "$examples/connecting.ini" --data "$new_traverse" --out "$work/run/results.txt" \
      --sketch "$work/run/sketch.bmp" >/dev/null 2>&1 &
  else
    exec "$cli" rigorous --data "$new_rigorous" --html "$work/run/report.html" >/dev/null 2>&1 &
  fi
  pid=$!
  sleep "$delay"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  for f in "${files[@]}"; do
    cmp -s "$work/run/$f" "$work/old/$f" || cmp -s "$work/run/$f" "$work/new/$f" ||
      fail "trial $t (${delay}s): $f is neither the old nor the new content"
  done
  if cmp -s "$work/run/report.html" "$work/new/report.html"; then
    cmp -s "$work/run/report.bmp" "$work/new/report.bmp" ||
      fail "trial $t (${delay}s): the new report stands beside the old picture"
  fi
  if ((t % 25 == 0)); then
    traverse "$work/run" "$new_traverse" >/dev/null && rigorous "$work/run" "$new_rigorous" ||
      fail "trial $t: the run after the kill failed"
    no_temporaries
  fi
done
traverse "$work/run" "$new_traverse" >/dev/null && rigorous "$work/run" "$new_rigorous" || fail "the last run failed"
no_temporaries
echo "kill trials: $trials trials, every file old or new, no temporary file left"
