#!/usr/bin/env bash
# Runs the program on a copy of the demo with "Demo Tools.plugin" in the
# plug-in folder of a scratch extensions folder (location 0), opens both
# packages and selects a routine, checks that the run ends with status 0 and
# no sanitizer report, then has the checker read the screenshots: the
# package and routine rows with their icons, and the routine's caller.
set -u
program=$1 scripts=$2 work=$3 demo=$4 checker=$5
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
stem=$(basename "$demo" .QzB) from=$(dirname "$demo") build=$(dirname "$program")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
demo="$work/$stem.QzB"
# The extensions folder with its files, the application's resources beside it.
extensions="$work/app/Qz Extensions"
mkdir -p "$extensions/Plugins"
cp -r "$build/Qz Extensions/." "$extensions/"
cp "$build/Qz Resources.rsrc" "$work/app/"
cp "$from/Demo Tools.plugin" "$from/._Demo Tools.plugin" "$extensions/Plugins/" ||
  { echo "no plug-in file beside the demo"; exit 1; }
(cd "$work" && QZ_EXTENSIONS_DIR="$extensions" QZ_PREFERENCES_DIR="$work/prefs" \
   QZ_SCRIPT="$scripts/plugins_demo.txt" "$program" "$demo") 2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "plug-in run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "plug-in run: sanitizer report"
  exit 1
fi
for shot in packages routine; do
  [ -s "$work/$shot.png" ] || { echo "no screenshot $shot.png"; exit 1; }
done
QZ_EXTENSIONS_DIR="$extensions" QZ_PREFERENCES_DIR="$work/check-prefs" QZ_PLUGIN_SCREENS="$work" \
  QZ_DEMO_STRUCTURE="$demo" "$checker" --gtest_filter='PlugInScreens.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }
