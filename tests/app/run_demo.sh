#!/usr/bin/env bash
# Runs the program on the demo structure and on nothing: both end with
# status 0, and the demo's screen shows more than the empty start.
set -u
program=$1 scripts=$2 work=$3 demo=$4
rm -rf "$work" && mkdir -p "$work/demo/prefs" "$work/plain/prefs"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
# The program works on a copy: other tests compare the build's demo byte
# for byte.
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/demo/" 2>/dev/null
demo="$work/demo/$stem.QzB"
(cd "$work/demo" && QZ_PREFERENCES_DIR="$work/demo/prefs" QZ_SCRIPT="$scripts/demo_open.txt" "$program" "$demo")
status=$?
[ "$status" -eq 0 ] || { echo "demo run: status $status"; exit 1; }
(cd "$work/plain" && QZ_PREFERENCES_DIR="$work/plain/prefs" QZ_SCRIPT="$scripts/plain_start.txt" "$program")
status=$?
[ "$status" -eq 0 ] || { echo "plain run: status $status"; exit 1; }
[ -s "$work/demo/demo.png" ] || { echo "no screenshot"; exit 1; }
cmp -s "$work/demo/demo.png" "$work/plain/plain.png" && { echo "the demo's window is not on the screen"; exit 1; }
exit 0
