#!/usr/bin/env bash
# Kills korvane-cli with SIGKILL at random moments while it splits a file
# over the pieces of an earlier split of the same base, and checks that what
# is left never joins into anything but the old or the new file: link.sh is
# run, the pieces Link.bat names are joined as it would join them, and the
# pieces are merged from .001. The next split must clear what a killed one
# left, and a finished split leaves no temporary file.
#   split_kill_trials.sh KORVANE_CLI [TRIALS]
set -uo pipefail
cli=$1 trials=${2:-400}
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "split kill trials: $*" >&2; exit 1; }

# The old set has 48 pieces of 1 KB; the new one 32 or 64 (fewer, then more).
head -c $((48 * 1024 - 100)) /dev/urandom >"$work/old.bin"
head -c $((32 * 1024 - 7)) /dev/urandom >"$work/short.bin"
head -c $((64 * 1024 - 7)) /dev/urandom >"$work/long.bin"
run=$work/run
mkdir -p "$work/old" "$run"
split_into() {  # split_into FOLDER SOURCE
  (exec "$cli" split "$2" --target "$1/s\$bin" --kb 1 --yes) >/dev/null 2>&1
}
split_into "$work/old" "$work/old.bin" || fail "the old split failed"

fresh_old_set() {  # the old set in place of the visible files; what a kill left hidden stays
  rm -f "$run"/s\$bin.[0-9]* "$run/Link.bat" "$run/link.sh" "$run/s.bin" "$work/joined"
  cp "$work"/old/* "$run/"
}

joins_old_or_new() {  # joins_old_or_new WHAT FILE NEW
  cmp -s "$2" "$work/old.bin" || cmp -s "$2" "$3" || fail "trial $t (${delay}s): $1 joins into neither the old nor the new file"
}

no_leftovers() {
  local left
  left=$(find "$run" -name '.*' -type f | head -n 5)
  [ -z "$left" ] || fail "trial $t: temporary files left after a finished split: $left"
  [ ! -e "$run/s\$bin.unfinished" ] || fail "trial $t: the marker is left after a finished split"
}

# How long a whole split takes: the kills fall from the start to a little after the end.
start=$(date +%s%N)
t=0 delay=0
fresh_old_set && split_into "$run" "$work/long.bin" || fail "the new split failed"
span_us=$((($(date +%s%N) - start) / 1000 * 13 / 10 + 1))
no_leftovers

for ((t = 1; t <= trials; t++)); do
  fresh_old_set
  new=$work/short.bin
  ((t % 2)) || new=$work/long.bin
  delay_us=$(((RANDOM * 32768 + RANDOM) % span_us))
  delay=$(printf '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000)))
  exec "$cli" split "$new" --target "$run/s\$bin" --kb 1 --yes >/dev/null 2>&1 &
  pid=$!
  sleep "$delay"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null

  if [ -f "$run/link.sh" ]; then
    rm -f "$run/s.bin"
    if sh "$run/link.sh" 2>/dev/null; then joins_old_or_new link.sh "$run/s.bin" "$new"; fi
  fi
  if [ -f "$run/Link.bat" ]; then
    mapfile -t names < <(tr -d '\r' <"$run/Link.bat" | awk -F'"' '{ for (i = 2; i < NF; i += 2) print $i }')
    ((${#names[@]} >= 2)) || fail "trial $t (${delay}s): Link.bat names no pieces"
    unset 'names[${#names[@]}-1]'
    (cd "$run" && cat -- "${names[@]}") >"$work/batch.out" 2>/dev/null ||
      fail "trial $t (${delay}s): Link.bat names a piece that is not there"
    joins_old_or_new Link.bat "$work/batch.out" "$new"
  fi
  if "$cli" merge "$work/joined" --from "$run/s\$bin.001" --yes >/dev/null 2>&1; then
    joins_old_or_new "merge --from" "$work/joined" "$new"
  fi

  if ((t % 25 == 0)); then
    fresh_old_set
    split_into "$run" "$new" || fail "trial $t: the split after the kill failed"
    no_leftovers
    rm -f "$run/s.bin"
    sh "$run/link.sh" && cmp -s "$run/s.bin" "$new" || fail "trial $t: the finished split does not join"
  fi
done
echo "split kill trials: $trials trials, every set old or new or refused, no temporary file left"
