#!/usr/bin/env bash
# Runs the program on the demo and its destination structure with a fresh
# preferences folder, checks that the run ends with status 0 and no
# sanitizer report, then has the checker compare both windows' title bars
# with the screenshot.
set -u
program=$1 scripts=$2 work=$3 demo=$4 target=$5 checker=$6
rm -rf "$work" && mkdir -p "$work/prefs"
for doc in "$demo" "$target"; do
  [ -s "$doc" ] || { echo "no structure at $doc"; exit 1; }
  # Copies: opening marks a document, and other tests compare the build's
  # documents byte for byte.
  stem=$(basename "$doc" .QzB) from=$(dirname "$doc")
  cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
done
demo="$work/$(basename "$demo")" target="$work/$(basename "$target")"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$scripts/demo_pair.txt" "$program" "$demo" "$target") \
  2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "demo run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "demo run: sanitizer report"
  exit 1
fi
[ -s "$work/pair.png" ] || { echo "no screenshot pair.png"; exit 1; }
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_DEMO_SCREENS="$work" QZ_DEMO_PAIR="$demo:$target" \
  "$checker" --gtest_filter='DemoPair.BothWindows*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }
