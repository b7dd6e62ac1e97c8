#!/usr/bin/env bash
# Runs the program on a copy of the demo structure and sends its main list
# into a folder nobody may write: once exported, once printed to PDF. Each
# run ends while the alert is up; both alerts say that the folder may not be changed,
# and nothing is written there. Root passes over file modes unless its
# rights to do so are set aside.
set -u
program=$1 work=$2 demo=$3
rm -rf "$work" && mkdir -p "$work/prefs" "$work/locked"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
chmod 555 "$work/locked"
drop=()
[ "$(id -u)" -eq 0 ] && drop=(setpriv --bounding-set=-dac_override,-dac_read_search)
failures=0
# name | the File menu's row | the file chosen
while IFS='|' read -r name v file; do
  [ -n "$name" ] || continue
  printf 'move 1275 795\nidle\nwait 600\nidle\nchoose 1\nanswer %s\npress 61 10\nmove 90 %s\nwait 2\nrelease\nwait 120\nidle\n' \
    "$work/locked/$file" "$v" > "$work/$name.txt"
  (cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/$name.txt" "${drop[@]}" "$program" "$work/$stem.QzB") \
    2> "$work/$name-stderr.txt"
  status=$?
  if grep -Eq 'runtime error|Sanitizer' "$work/$name-stderr.txt"; then
    cat "$work/$name-stderr.txt"; echo "$name: sanitizer report"; failures=$((failures + 1)); continue
  fi
  if [ "$status" -ne 4 ] ||
     ! grep -q 'in the alert 1000 "You may not change this folder or file. Save in another place' "$work/$name-stderr.txt"; then
    cat "$work/$name-stderr.txt"; echo "$name: status $status, not the locked disk's alert"; failures=$((failures + 1))
  fi
done <<'RUNS'
export|241|List.txt
print|279|List.pdf
RUNS
left=$(ls -A "$work/locked")
chmod 755 "$work/locked"
[ -z "$left" ] || { echo "written into the locked folder: $left"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] || exit 1
exit 0
