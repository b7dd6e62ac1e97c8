#!/usr/bin/env bash
# Three runs of the program, each on one document opened at the first
# window place: the demo generates its component Reports into
# Reports-1.QCP (scripts/component_generate.txt); DemoTarget installs that
# library (component_install.txt), a copy of it kept in installed/; then
# DemoTarget uninstalls the component again (component_remove.txt). Every
# run must end with status 0 and no sanitizer report; then the
# ComponentInstallScreens cases read the library, the installed copy and
# the final DemoTarget, and compare the windows with the screenshots.
#   run_component_install.sh PROGRAM SCRIPTS WORK DEMO TARGET CHECKER
set -u
program=$1 scripts=$2 work=$3 demo=$4 target=$5 checker=$6
rm -rf "$work" && mkdir -p "$work/prefs" "$work/installed"
for doc in "$demo" "$target"; do
  [ -s "$doc" ] || { echo "no structure at $doc"; exit 1; }
  stem=$(basename "$doc" .QzB) from=$(dirname "$doc")
  cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
done
demo="$work/$(basename "$demo")" target="$work/$(basename "$target")"
run() {
  local name=$1 doc=$2
  sed "s|WORK|$work|g" "$scripts/component_$name.txt" > "$work/$name.txt"
  (cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/$name.txt" "$program" "$doc") \
    2> "$work/$name-stderr.txt"
  local status=$?
  cat "$work/$name-stderr.txt" >&2
  [ "$status" -eq 0 ] || { echo "$name run: status $status"; exit 1; }
  if grep -Eq 'runtime error|Sanitizer' "$work/$name-stderr.txt"; then
    echo "$name run: sanitizer report"
    exit 1
  fi
}
run generate "$demo"
[ -s "$work/Reports-1.QCP" ] || { echo "no library Reports-1.QCP"; exit 1; }
run install "$target"
[ -s "$work/installed.png" ] || { echo "no screenshot installed.png"; exit 1; }
stem=$(basename "$target" .QzB)
cp "$work/$stem".* "$work/._$stem".* "$work/installed/" 2>/dev/null
run remove "$target"
[ -s "$work/removed.png" ] || { echo "no screenshot removed.png"; exit 1; }
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_COMPONENT_INSTALL_SCREENS="$work" QZ_DEMO_STRUCTURE="$target" \
  "$checker" --gtest_filter='ComponentInstallScreens.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 3 tests' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }
