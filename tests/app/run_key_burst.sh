#!/usr/bin/env bash
# Keys typed faster than the program reads them keep their modifiers: on the
# demo, six Command-N in a row open six browser windows and six Command-W
# close them (the screen is then the one before), and a Command-Q right
# behind them quits.
set -u
program=$1 demo=$2 work=$3
rm -rf "$work" && mkdir -p "$work/prefs"
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
printf 'idle\nscreenshot one.png\n%s\nidle\nscreenshot seven.png\n%s\nidle\nscreenshot again.png\nkey q cmd\n' \
  "$(printf 'key n cmd\n%.0s' 1 2 3 4 5 6)" "$(printf 'key w cmd\n%.0s' 1 2 3 4 5 6)" > "$work/script.txt"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/script.txt" timeout 120 "$program" "$work/$stem.QzB")
status=$?
[ "$status" -eq 0 ] || { echo "status $status"; exit 1; }
! cmp -s "$work/one.png" "$work/seven.png" && cmp -s "$work/one.png" "$work/again.png" ||
  { echo "six Command-N and six Command-W did not open and close six windows"; exit 1; }
