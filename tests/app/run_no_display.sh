#!/usr/bin/env bash
# Without a display and without a script the program says so, runs
# headless and quits once idle with status 0: also when the video system
# would fall back to a driver that shows nothing.
set -u
program=$1 work=$2
rm -rf "$work" && mkdir -p "$work/prefs"
cd "$work"
# check NAME [VAR=VALUE...]: a run with no display and the variables set.
check() {
  local name=$1; shift
  timeout 120 env -u DISPLAY -u WAYLAND_DISPLAY -u QZ_SCRIPT "$@" QZ_PREFERENCES_DIR="$work/prefs" "$program" \
    2> "$work/$name-stderr.txt"
  local status=$?
  [ "$status" -eq 0 ] || { echo "$name: status $status"; cat "$work/$name-stderr.txt"; exit 1; }
  grep -q "no display (.*): running headless; the program quits once idle" "$work/$name-stderr.txt" ||
    { echo "$name: no message:"; cat "$work/$name-stderr.txt"; exit 1; }
}
check fallback
check offscreen SDL_VIDEODRIVER=offscreen
check dummy SDL_VIDEODRIVER=dummy
