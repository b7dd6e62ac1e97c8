#!/usr/bin/env bash
# Runs the program on the demo structure with a fresh preferences folder,
# finds the methods whose name contains "Invoice", adds the filter
# "Methods" and opens the main list's filter pop-up; checks that the run
# ends with status 0 and no sanitizer report, then has the checker read
# the screenshots (the results' rows and title, the pop-up) and the
# preferences file the run saved.
set -u
program=$1 scripts=$2 work=$3 demo=$4 checker=$5
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
# The program works on a copy: opening marks a document.
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
demo="$work/$stem.QzB"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$scripts/search_demo.txt" "$program" "$demo") \
  2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "search run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "search run: sanitizer report"
  exit 1
fi
for shot in search popup; do
  [ -s "$work/$shot.png" ] || { echo "no screenshot $shot.png"; exit 1; }
done
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_SEARCH_SCREENS="$work" QZ_DEMO_STRUCTURE="$demo" \
  "$checker" --gtest_filter='SearchScreens.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }
