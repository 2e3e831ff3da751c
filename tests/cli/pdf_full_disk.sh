#!/usr/bin/env bash
# korvane-cli traverse --pdf onto a file system too small for the PDF: status
# 1, "磁盘满，空间不够!", no file and no temporary file left, an old file of
# that name untouched. Run in a private mount namespace with a 16 KiB tmpfs.
set -u
cli=$1 examples=$2
folder=$(mktemp -d) errors=$(mktemp)
trap 'rm -rf "$folder" "$errors"' EXIT
if ! unshare -m true 2>/dev/null; then
  echo "no private mount namespace here: skipped"
  exit 77
fi
exec unshare -m bash -c '
  set -u
  cli=$1 examples=$2 folder=$3 errors=$4
  mount -t tmpfs -o size=16k tmpfs "$folder" || exit 77
  printf "old" > "$folder/old.pdf"
  for target in new.pdf old.pdf; do
    "$cli" traverse --start "$examples/connecting.ini" --data "$examples/connecting.dat" --pdf "$folder/$target" \
      > /dev/null 2> "$errors"
    status=$?
    err=$(cat "$errors")
    [ "$status" = 1 ] || { echo "$target: status $status"; exit 1; }
    [ "$err" = "korvane-cli traverse: 磁盘满，空间不够!" ] || { echo "$target: message: $err"; exit 1; }
  done
  left=$(ls -A "$folder")
  [ "$left" = "old.pdf" ] || { echo "left behind: $left"; exit 1; }
  [ "$(cat "$folder/old.pdf")" = "old" ] || { echo "old file changed"; exit 1; }
' bash "$cli" "$examples" "$folder" "$errors"
