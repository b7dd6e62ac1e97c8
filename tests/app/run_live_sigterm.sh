#!/usr/bin/env bash
# Starts the program live on a virtual X display, waits until it has made
# its preferences file, sends SIGTERM once: it must quit with status 0.
set -u
program=$1 work=$2
rm -rf "$work" && mkdir -p "$work/prefs"
export QZ_PREFERENCES_DIR="$work/prefs"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$0" & pid=$!
  for i in $(seq 1 600); do
    [ -e "$QZ_PREFERENCES_DIR/Qz Structure Browser Preferences" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  sleep 0.5
  kill -TERM $pid
  wait $pid
' "$program"
status=$?
[ "$status" -eq 0 ] || { echo "status $status"; exit 1; }
