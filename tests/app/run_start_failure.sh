#!/usr/bin/env bash
# Start-up that cannot find the program's resources must say why on
# standard error and end with status 1.
set -u
program=$1 work=$2
rm -rf "$work" && mkdir -p "$work/prefs" "$work/empty"
printf 'idle\nend\n' > "$work/script.txt"
QZ_EXTENSIONS_DIR="$work/empty" QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/script.txt" \
  "$program" 2> "$work/stderr.txt"
status=$?
[ "$status" -eq 1 ] || { echo "status $status"; cat "$work/stderr.txt"; exit 1; }
grep -q "qzbrowser: .*resource file" "$work/stderr.txt" || { echo "no message:"; cat "$work/stderr.txt"; exit 1; }
