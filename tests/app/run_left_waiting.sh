#!/usr/bin/env bash
# A script that leaves the program waiting: the program quits by itself,
# says why and ends with the watchdog's status 3.
set -u
program=$1 script=$2 work=$3
rm -rf "$work" && mkdir -p "$work/prefs"
QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$script" timeout 60 "$program" 2> "$work/stderr.txt"
status=$?
[ "$status" -eq 3 ] || { echo "status $status"; cat "$work/stderr.txt"; exit 1; }
grep -q "still waiting" "$work/stderr.txt" || { echo "no message:"; cat "$work/stderr.txt"; exit 1; }
