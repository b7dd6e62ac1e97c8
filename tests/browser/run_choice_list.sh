#!/usr/bin/env bash
# Runs the program on a copy of the demo structure with a fresh preferences
# folder, previews the choice list Towns from the uses pane of the table
# Customers, checks that the run ends with status 0 and no sanitizer
# report, then has the checker find the list's drawing in the screenshot.
set -u
program=$1 scripts=$2 work=$3 demo=$4 checker=$5
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
demo="$work/$stem.QzB"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$scripts/choice_list.txt" "$program" "$demo") \
  2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "choice-list run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "choice-list run: sanitizer report"
  exit 1
fi
[ -s "$work/towns.png" ] || { echo "no screenshot towns.png"; exit 1; }
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_CHOICE_LIST_SCREENS="$work" QZ_DEMO_STRUCTURE="$demo" \
  "$checker" --gtest_filter='ChoiceListScreens.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }
