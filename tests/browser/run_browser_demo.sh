#!/usr/bin/env bash
# Runs the program on the demo structure with a fresh preferences folder,
# selects a method by typing its name, previews one it calls, selects two
# forms stored as chunk files, and checks that the run ends with status 0
# and no sanitizer report, then has the checker read the screenshots row by
# row (the main list, then the cross-reference panes) and the preview's
# first line of text.
set -u
program=$1 scripts=$2 work=$3 demo=$4 checker=$5
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
# The program works on a copy: opening marks a document, and other tests
# compare the build's demo byte for byte.
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
demo="$work/$stem.QzB"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$scripts/demo_select.txt" "$program" "$demo") \
  2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "demo run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "demo run: sanitizer report"
  exit 1
fi
for shot in opened selected preview form card; do
  [ -s "$work/$shot.png" ] || { echo "no screenshot $shot.png"; exit 1; }
done
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_DEMO_SCREENS="$work" QZ_DEMO_STRUCTURE="$demo" \
  "$checker" --gtest_filter='DemoScreens.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }
