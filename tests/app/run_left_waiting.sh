#!/usr/bin/env bash
# A script that leaves the program waiting: the program quits by itself,
# says why and ends with the watchdog's status 3, 601 ticks after the
# script's end; left in a modal (the alert of a document that is not
# there), with status 4, 61 ticks after it. A comment line is passed over
# whatever it holds (one quote).
set -u
program=$1 script=$2 work=$3
rm -rf "$work" && mkdir -p "$work/prefs"
printf '# the "missing document\nidle\nsend odoc %s\n' "$work/Missing.QzB" > "$work/modal.txt"
# run SCRIPT STATUS TICKS: the run ends with STATUS, TICKS after the script.
run() {
  QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$1" timeout 60 "$program" 2> "$work/stderr.txt"
  local status=$?
  [ "$status" -eq "$2" ] || { echo "$1: status $status"; cat "$work/stderr.txt"; exit 1; }
  local ticks
  ticks=$(sed -n 's/.*ended at tick \([0-9]*\) and .* waiting for input at tick \([0-9]*\).*/\2 - \1/p' "$work/stderr.txt")
  [ -n "$ticks" ] && [ $((ticks)) -eq "$3" ] ||
    { echo "$1: not $3 ticks after the script:"; cat "$work/stderr.txt"; exit 1; }
}
run "$script" 3 601
run "$work/modal.txt" 4 61
exit 0
