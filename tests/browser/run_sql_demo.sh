#!/usr/bin/env bash
# Runs the program with a fresh preferences folder, chooses "New Structure
# from SQL Script..." in the File menu, picks the demo's SQL script in the
# open dialog and names the new structure in the save dialog; checks that
# the run ends with status 0 and no sanitizer report, then has the checker
# read the new structure's main list on the screenshot and the report.
set -u
program=$1 work=$2 script=$3 checker=$4
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$script" ] || { echo "no SQL script at $script"; exit 1; }
cp "$script" "$work/Demo.sql"
# The File menu's third item, once both dialogs have their answers queued;
# then the tables' triangles, from the last row up, open them.
cat > "$work/steps.txt" <<STEPS
move 1275 795
idle
answer $work/Demo.sql
answer $work/Made.QzB
press 61 10
move 90 70
release
wait 120
idle
click 24 107
wait 30
click 24 91
wait 30
click 24 75
wait 30
idle
move 1275 795
idle
screenshot sql.png
end
STEPS
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/steps.txt" "$program") 2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "SQL run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "SQL run: sanitizer report"
  exit 1
fi
[ -s "$work/Made.QzB" ] || { echo "no structure made"; exit 1; }
[ -s "$work/sql.png" ] || { echo "no screenshot sql.png"; exit 1; }
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_SQL_SCREENS="$work" "$checker" --gtest_filter='SqlScreens.*' \
  > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }
