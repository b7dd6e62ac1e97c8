#!/usr/bin/env bash
# Runs the program twice: once with a preferences file whose start-up
# switch asks for the about box, once with none. The first run's screen must
# differ while the box is up and match the plain start once a click took it
# away; both runs end with status 0.
set -u
program=$1 rescompile=$2 scripts=$3 work=$4
rm -rf "$work" && mkdir -p "$work/about/prefs" "$work/plain/prefs"
cat >"$work/prefs.r" <<'SRC'
'PREF' 0 "Preferences" { $"0080 0258 0190 4000" }
SRC
"$rescompile" "$work/about/prefs/Qz Structure Browser Preferences" "$work/prefs.r" || { echo "no preferences file"; exit 1; }
(cd "$work/about" && QZ_PREFERENCES_DIR="$work/about/prefs" QZ_SCRIPT="$scripts/about_at_start.txt" "$program")
status=$?
[ "$status" -eq 0 ] || { echo "about run: status $status"; exit 1; }
(cd "$work/plain" && QZ_PREFERENCES_DIR="$work/plain/prefs" QZ_SCRIPT="$scripts/plain_start.txt" "$program")
status=$?
[ "$status" -eq 0 ] || { echo "plain run: status $status"; exit 1; }
for shot in about/about.png about/gone.png plain/plain.png; do
    [ -s "$work/$shot" ] || { echo "no screenshot $shot"; exit 1; }
done
cmp -s "$work/about/about.png" "$work/plain/plain.png" && { echo "no about box at start"; exit 1; }
cmp -s "$work/about/gone.png" "$work/plain/plain.png" || { echo "the click left the screen changed"; exit 1; }
exit 0
