#!/usr/bin/env bash
# Runs the program on the demo structure with a fresh preferences folder,
# selects a method by typing its name and checks that the run ends with
# status 0 and that the selection changed the window (the cross-reference
# panes filled).
set -u
program=$1 scripts=$2 work=$3 demo=$4
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$scripts/demo_select.txt" "$program" "$demo")
status=$?
[ "$status" -eq 0 ] || { echo "demo run: status $status"; exit 1; }
for shot in opened selected; do
  [ -s "$work/$shot.png" ] || { echo "no screenshot $shot.png"; exit 1; }
done
cmp -s "$work/opened.png" "$work/selected.png" && { echo "selecting the method changed nothing on the screen"; exit 1; }
exit 0
