#!/usr/bin/env bash
# Runs the program on one script in a folder of its own: it must end with
# status 0, write its screenshot and leave its preferences file.
set -u
program=$1 script=$2 work=$3 shot=$4
rm -rf "$work" && mkdir -p "$work/prefs"
cd "$work"
QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$script" "$program"
status=$?
[ "$status" -eq 0 ] || { echo "status $status"; exit 1; }
[ -s "$work/$shot" ] || { echo "no screenshot $shot"; exit 1; }
[ -e "$work/prefs/Qz Structure Browser Preferences" ] || { echo "no preferences file"; exit 1; }
