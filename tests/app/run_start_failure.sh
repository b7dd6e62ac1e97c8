#!/usr/bin/env bash
# Start-ups that fail must say why on standard error and end with status
# 1: one that cannot find the program's resources or its extensions folder
# (the path looked at named), one whose script has a line it does not
# take. An extensions folder elsewhere is no reason to fail: the resources
# stay with the program.
set -u
program=$1 work=$2
rm -rf "$work" && mkdir -p "$work/prefs" "$work/empty" "$work/tools/extensions"
printf 'idle\nend\n' > "$work/script.txt"
printf 'idle\nfly 10 10\nend\n' > "$work/bad-script.txt"
# check NAME MESSAGE [VAR=VALUE...]: the run with the variables set.
check() {
  local name=$1 message=$2; shift 2
  env "$@" QZ_PREFERENCES_DIR="$work/prefs" "$program" 2> "$work/$name-stderr.txt"
  local status=$?
  [ "$status" -eq 1 ] || { echo "$name: status $status"; cat "$work/$name-stderr.txt"; exit 1; }
  grep -qF "$message" "$work/$name-stderr.txt" || { echo "$name: no message:"; cat "$work/$name-stderr.txt"; exit 1; }
}
check resources "qzbrowser: The program's resource file \"$work/empty/Qz Resources.rsrc\" could not be opened" \
  QZ_APPLICATION_DIR="$work/empty" QZ_SCRIPT="$work/script.txt"
check script "qzbrowser: the script $work/bad-script.txt cannot be used" QZ_SCRIPT="$work/bad-script.txt"
check extensions "qzbrowser: The extensions folder \"$work/missing\" is not there" \
  QZ_EXTENSIONS_DIR="$work/missing" QZ_SCRIPT="$work/script.txt"
cp -r "$(dirname "$program")/Qz Extensions/." "$work/tools/extensions/"
QZ_EXTENSIONS_DIR="$work/tools/extensions" QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/script.txt" \
  "$program" 2> "$work/extensions-stderr.txt"
status=$?
[ "$status" -eq 0 ] || { echo "extensions elsewhere: status $status"; cat "$work/extensions-stderr.txt"; exit 1; }
exit 0
