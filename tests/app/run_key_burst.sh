#!/usr/bin/env bash
# Keys typed faster than the program reads them keep their modifiers: on
# the demo, six Command-N in a row open six browser windows and six
# Command-W close them again (the screen is then the one before), and a
# Command-Q right behind them quits.
set -u
program=$1 demo=$2 work=$3
rm -rf "$work" && mkdir -p "$work/prefs"
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
{
  printf 'idle\nscreenshot one.png\n'
  for i in 1 2 3 4 5 6; do printf 'key n cmd\n'; done
  printf 'idle\nscreenshot seven.png\n'
  for i in 1 2 3 4 5 6; do printf 'key w cmd\n'; done
  printf 'idle\nscreenshot again.png\nkey q cmd\n'
} > "$work/script.txt"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/script.txt" timeout 120 "$program" "$work/$stem.QzB" \
   2> "$work/stderr.txt")
status=$?
[ "$status" -eq 0 ] || { echo "status $status: $(cat "$work/stderr.txt")"; exit 1; }
cmp -s "$work/one.png" "$work/seven.png" && { echo "no window was opened"; exit 1; }
cmp -s "$work/one.png" "$work/again.png" || { echo "six Command-N and six Command-W did not leave the one window"; exit 1; }
exit 0
