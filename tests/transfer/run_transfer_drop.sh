#!/usr/bin/env bash
# Has the checker plan the run (where the rows of Invoices and
# Close_Invoice and DemoTarget's list are), runs the program on copies of
# the demo and DemoTarget with that script: the table Invoices, then
# Close_Invoice, each dragged with Option onto DemoTarget with Return in the
# conflict dialog, the method's copy selected and DemoTarget saved at the end.
# The run must end with status 0 and no sanitizer report; then the checker
# reads the saved destination and compares its window with the screenshot.
# QZ_DROP_SUITE names another checker of a run planned the same way.
set -u
program=$1 work=$2 demo=$3 target=$4 checker=$5
rm -rf "$work" && mkdir -p "$work/prefs"
for doc in "$demo" "$target"; do
  [ -s "$doc" ] || { echo "no structure at $doc"; exit 1; }
  stem=$(basename "$doc" .QzB) from=$(dirname "$doc")
  cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
done
demo="$work/$(basename "$demo")" target="$work/$(basename "$target")"
run_checker() {
  QZ_PREFERENCES_DIR="$work/check-prefs-$1" QZ_DEMO_PAIR="$demo:$target" "${@:2}" \
    "$checker" --gtest_filter="${QZ_DROP_SUITE:-DropRun}.$1" > "$work/$1.txt" 2>&1
  local status=$?
  cat "$work/$1.txt"
  [ "$status" -eq 0 ] && grep -q '^\[  PASSED  \] 1 test' "$work/$1.txt" && ! grep -q SKIPPED "$work/$1.txt" ||
    { echo "the checker's $1 did not pass"; exit 1; }
}
run_checker Plan env QZ_DROP_PLAN="$work/drop.txt"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/drop.txt" "$program" "$demo" "$target") \
  2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "drop run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "drop run: sanitizer report"
  exit 1
fi
[ -s "$work/copied.png" ] || { echo "no screenshot copied.png"; exit 1; }
run_checker Check env QZ_DEMO_SCREENS="$work"
