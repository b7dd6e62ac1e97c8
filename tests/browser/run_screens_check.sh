#!/usr/bin/env bash
# Runs the program on a copy of the demo structure with a fresh preferences
# folder and a headless script, checks that the run ends with status 0, no
# sanitizer report and every screenshot named, then runs one case of the
# checker, which reads the screenshots from the folder given in SCREENS_VAR
# and the copy of the demo from QZ_DEMO_STRUCTURE.
#   run_screens_check.sh PROGRAM SCRIPT WORK DEMO CHECKER CASE SCREENS_VAR SHOT...
set -u
program=$1 script=$2 work=$3 demo=$4 checker=$5 case=$6 screens=$7
shift 7
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
# The program works on a copy: opening marks a document, and other tests
# compare the build's demo byte for byte.
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
demo="$work/$stem.QzB"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$script" "$program" "$demo") 2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "$case run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "$case run: sanitizer report"
  exit 1
fi
for shot in "$@"; do
  [ -s "$work/$shot.png" ] || { echo "no screenshot $shot.png"; exit 1; }
done
env QZ_PREFERENCES_DIR="$work/check-prefs" "$screens=$work" QZ_DEMO_STRUCTURE="$demo" \
  "$checker" --gtest_filter="$case.*" > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }
