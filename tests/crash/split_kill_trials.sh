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
# Text without NUL bytes, so that the shell itself can read and compare what
# is joined (fewer processes per trial).
text() { head -c $(($1 * 3 / 4)) /dev/urandom | base64 -w 0 | head -c "$1"; }
text $((48 * 1024 - 100)) >"$work/old.bin"
text $((32 * 1024 - 7)) >"$work/short.bin"
text $((64 * 1024 - 7)) >"$work/long.bin"
slurp() { IFS= read -r -d '' "$1" <"$2"; }  # slurp VARIABLE FILE
slurp old_text "$work/old.bin"; slurp short_text "$work/short.bin"; slurp long_text "$work/long.bin"
run=$work/run
mkdir -p "$work/old" "$run"
split_into() {  # split_into FOLDER SOURCE
  (exec "$cli" split "$2" --target "$1/s\$bin" --kb 1 --yes) >/dev/null 2>&1
}
split_into "$work/old" "$work/old.bin" || fail "the old split failed"

fresh_old_set() {  # the old set in place of the visible files; what a kill left hidden stays
  [ ! -e "$run/s\$bin.049" ] || rm -f "$run"/s\$bin.0[4-9][0-9]
  cp -f "$work"/old/* "$run/"
}

# Waits without starting a process: a read that times out on a pipe nobody writes.
mkfifo "$work/never"
exec 9<>"$work/never"
pause() { read -r -t "$1" -u 9 || true; }

joins_old_or_new() {  # joins_old_or_new WHAT TEXT
  [[ $2 == "$old_text" || $2 == "$new_text" ]] || fail "trial $t (${delay}s): $1 joins into neither the old nor the new file"
}

no_leftovers() {
  local left
  left=$(find "$run" -name '.*' -type f | head -n 5)
  [ -z "$left" ] || fail "trial $t: temporary files left after a finished split: $left"
  [ ! -e "$run/s\$bin.unfinished" ] || fail "trial $t: the marker is left after a finished split"
}

# How long the program takes to start and how long a whole split takes: the
# kills fall from half the start-up time to a little after the end.
t=0 delay=0
start=$(date +%s%N)
"$cli" split "$work/no_such.bin" >/dev/null 2>&1
startup_us=$((($(date +%s%N) - start) / 1000 / 2))
printf -v startup_delay '%d.%06d' $((startup_us / 1000000)) $((startup_us % 1000000))
start=$(date +%s%N)
fresh_old_set && split_into "$run" "$work/long.bin" || fail "the new split failed"
span_us=$((($(date +%s%N) - start) / 1000 * 12 / 10 - startup_us + 1))
((span_us > 0)) || span_us=1
no_leftovers

old_sets=0 new_sets=0 unfinished=0
for ((t = 1; t <= trials; t++)); do
  fresh_old_set
  new=$work/short.bin new_text=$short_text
  ((t % 2)) || new=$work/long.bin new_text=$long_text
  delay_us=$((startup_us + (RANDOM * 32768 + RANDOM) % span_us))
  printf -v delay '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000))
  marker=$run/s\$bin.unfinished
  aimed=$((t % 3 == 0))
  if ((aimed)); then [ ! -e "$marker" ] || rm -f "$marker"; fi
  exec "$cli" split "$new" --target "$run/s\$bin" --kb 1 --yes >/dev/null 2>&1 &
  pid=$!
  if ((aimed)); then
    # Aimed at the swap: killed a few looks after the marker is down.
    delay="swap+$((RANDOM % 64))"
    pause "$startup_delay"
    while kill -0 "$pid" 2>/dev/null && [ ! -e "$marker" ]; do :; done
    for ((i = 0; i < ${delay#swap+}; i++)); do :; done
  else
    pause "$delay"
  fi
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null

  if [ -f "$run/link.sh" ]; then
    if sh "$run/link.sh" 2>/dev/null; then
      slurp joined "$run/s.bin"
      joins_old_or_new link.sh "$joined"
    fi
  fi
  if [ -f "$run/Link.bat" ]; then
    # copy/B "piece"+"piece"+… "merged": the pieces are every other field between the quotes.
    IFS= read -r line <"$run/Link.bat"
    IFS='"' read -r -a fields <<<"${line%$'\r'}"
    ((${#fields[@]} >= 4)) || fail "trial $t (${delay}s): Link.bat names no pieces"
    joined=''
    for ((i = 1; i < ${#fields[@]} - 2; i += 2)); do
      [ -f "$run/${fields[i]}" ] || fail "trial $t (${delay}s): Link.bat names ${fields[i]}, which is not there"
      slurp piece "$run/${fields[i]}"
      joined+=$piece
    done
    joins_old_or_new Link.bat "$joined"
  fi
  if "$cli" merge "$work/joined" --from "$run/s\$bin.001" --yes >/dev/null 2>&1; then
    slurp joined "$work/joined"
    joins_old_or_new "merge --from" "$joined"
    [ ! -e "$marker" ] || fail "trial $t (${delay}s): merge --from joins an unfinished set"
  fi
  if [ -e "$marker" ]; then ((unfinished++)); elif [ -f "$run/Link.bat" ] && [[ $joined == "$new_text" ]]; then ((new_sets++)); else ((old_sets++)); fi

  if ((t % 25 == 0)); then
    fresh_old_set
    split_into "$run" "$new" || fail "trial $t: the split after the kill failed"
    no_leftovers
    rm -f "$run/s.bin"
    sh "$run/link.sh" && slurp joined "$run/s.bin"
    [[ $joined == "$new_text" ]] || fail "trial $t: the finished split does not join"
  fi
done
echo "split kill trials: $trials trials ($old_sets old sets, $new_sets new, $unfinished unfinished), every set old or new or refused, no temporary file left"
