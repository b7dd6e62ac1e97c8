#!/usr/bin/env bash
# Start-ups that fail must say why on standard error and end with status
# 1: one that cannot find the program's resources, one whose script has a
# line it does not take.
set -u
program=$1 work=$2
rm -rf "$work" && mkdir -p "$work/prefs" "$work/empty"
printf 'idle\nend\n' > "$work/script.txt"
printf 'idle\nfly 10 10\nend\n' > "$work/bad-script.txt"
# check NAME MESSAGE [VAR=VALUE...]: the run with the variables set.
check() {
  local name=$1 message=$2; shift 2
  env "$@" QZ_PREFERENCES_DIR="$work/prefs" "$program" 2> "$work/$name-stderr.txt"
  local status=$?
  [ "$status" -eq 1 ] || { echo "$name: status $status"; cat "$work/$name-stderr.txt"; exit 1; }
  grep -q "$message" "$work/$name-stderr.txt" || { echo "$name: no message:"; cat "$work/$name-stderr.txt"; exit 1; }
}
check resources "qzbrowser: .*resource file" QZ_EXTENSIONS_DIR="$work/empty" QZ_SCRIPT="$work/script.txt"
check script "qzbrowser: the script $work/bad-script.txt cannot be used" QZ_SCRIPT="$work/bad-script.txt"
