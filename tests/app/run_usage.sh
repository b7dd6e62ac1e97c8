#!/usr/bin/env bash
# A command line the program does not take ends the run at once with
# status 2, naming what it takes; nothing else starts.
set -u
program=$1 work=$2
rm -rf "$work" && mkdir -p "$work/prefs"
for args in "-x" "--help" "--print" "--print --"; do
  # shellcheck disable=SC2086
  QZ_PREFERENCES_DIR="$work/prefs" "$program" $args > "$work/stdout.txt" 2> "$work/stderr.txt"
  status=$?
  [ "$status" -eq 2 ] || { echo "$args: status $status"; cat "$work/stderr.txt"; exit 1; }
  grep -q -- "--print" "$work/stderr.txt" || { echo "$args: the options are not named:"; cat "$work/stderr.txt"; exit 1; }
  [ -s "$work/stdout.txt" ] && { echo "$args: wrote to standard output"; exit 1; }
done
[ -z "$(ls -A "$work/prefs")" ] || { echo "the program started: its preferences were written"; exit 1; }
exit 0
