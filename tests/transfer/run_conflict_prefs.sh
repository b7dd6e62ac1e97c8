#!/usr/bin/env bash
# Runs the program with a fresh preferences folder through the conflict
# preferences command (the script picks a filter and changes a choice),
# checks that the run ends with status 0 and no sanitizer report, then has
# the checker read the saved defaults and compare the dialog on the
# screenshot with the dialog it draws itself.
set -u
program=$1 scripts=$2 work=$3 checker=$4
rm -rf "$work" && mkdir -p "$work/prefs"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$scripts/conflict_prefs.txt" "$program") 2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "conflict preferences run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "conflict preferences run: sanitizer report"
  exit 1
fi
[ -s "$work/conflict_prefs.png" ] || { echo "no screenshot conflict_prefs.png"; exit 1; }
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_CONFLICT_RUN="$work" \
  "$checker" --gtest_filter='ConflictPrefsRun.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the checker did not run"; exit 1; }
