#!/usr/bin/env bash
# Starts the program headless on a script that keeps it waiting, waits until
# it has made its preferences file, sends SIGTERM once: it must quit with
# status 0.
set -u
program=$1 script=$2 work=$3
rm -rf "$work" && mkdir -p "$work/prefs"
export QZ_PREFERENCES_DIR="$work/prefs"
QZ_SCRIPT="$script" "$program" 2> "$work/stderr.txt" &
pid=$!
for i in $(seq 1 600); do
  [ -e "$QZ_PREFERENCES_DIR/Qz Structure Browser Preferences" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
sleep 0.5
kill -TERM $pid
wait $pid
status=$?
[ "$status" -eq 0 ] || { echo "status $status"; cat "$work/stderr.txt"; exit 1; }
