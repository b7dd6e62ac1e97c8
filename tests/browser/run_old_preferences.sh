#!/usr/bin/env bash
# Runs the program on the demo structure with a preferences file of the
# oldest layout (no version; one filter 'FLTR' 128 "Mine" with its old bits
# 2, 3 and 13; the blocking pair of kind 18), opens the main list's filter
# pop-up, and checks that the run ends with status 0 and no sanitizer
# report; the checker then reads the upgraded file and the screenshot of
# the pop-up.
set -u
program=$1 rescompile=$2 scripts=$3 work=$4 demo=$5 checker=$6
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
cat >"$work/prefs.r" <<'SRC'
'FLTR' 128 "Mine" { $"0001 3004 0000 044D 696E 65" }
'Oblk' 0 { $"1201 00" }
SRC
prefs="$work/prefs/Qz Structure Browser Preferences"
"$rescompile" "$prefs" "$work/prefs.r" || { echo "no preferences file"; exit 1; }
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$scripts/old_preferences.txt" "$program" "$work/$stem.QzB") \
  2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "old preferences run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "old preferences run: sanitizer report"
  exit 1
fi
[ -s "$work/popup.png" ] || { echo "no screenshot popup.png"; exit 1; }
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_OLD_PREFERENCES_RUN="$work" \
  "$checker" --gtest_filter='OldPreferencesRun.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the checker did not run"; exit 1; }
