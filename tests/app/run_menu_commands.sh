#!/usr/bin/env bash
# Every command of the File, Edit and Windows menus, chosen with the mouse
# in a headless run on two copies of the demo (A behind, B in front), leaves
# both documents as they were: no command here saves a structure, so no
# byte of either may change, nor any file's time stamp. Dialogs the
# commands open are cancelled. Each command runs in a program of its own on
# fresh copies; the first run chooses nothing and checks the comparison
# itself; the last prints A (--print) and quits.
set -u
program=$1 work=$2 demo=$3
rm -rf "$work" && mkdir -p "$work"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")

# name | title h | item row (1 = first) | submenu | lines before the choice
commands='
nothing|0|0||
new-library|60|1||
new-structure|60|2||
new-from-sql|60|3||answer cancel
open|60|4||answer cancel
open-recent|60|5|1|
open-server|60|6||choose 2
close|60|7||choose 1
close-document|60|8||choose 1
close-all|60|9||choose 1
save|60|10||answer cancel
read-again|60|11||
export-list|60|12||choose 2
page-setup|60|13||choose 2
print-list|60|14||choose 2
preferences|60|15||choose 2
conflict-preferences|60|16||choose 2
undo|101|1||
cut|101|2||
copy|101|3||
paste|101|4||
clear|101|5||choose 2
select-all|101|6||
keep-selected|101|7||
edit-object|101|8||
edit-documentation|101|9||
delete-documentation|101|10||choose 2
structure-documentation|101|11||
clipboard|101|12||
stack|158|1||
tile|158|2||
new-browser|158|3||
new-browser-2|158|4||
new-browser-3|158|5||
new-group-browser|158|6||
window-list|158|7||
print|0|0||key return\nwait 60\nidle
'
stamp='2020-01-01 00:00'

failures=0
while IFS='|' read -r name h row sub before; do
  [ -n "$name" ] || continue
  dir="$work/$name"
  mkdir -p "$dir/A" "$dir/B" "$dir/prefs"
  for d in A B; do cp "$from/$stem".* "$from/._$stem".* "$dir/$d/" 2>/dev/null; done
  cp -r "$dir/A" "$dir/A.before" && cp -r "$dir/B" "$dir/B.before"
  touch -d "$stamp" "$dir"/A/* "$dir"/A/.??* "$dir"/B/* "$dir"/B/.??*
  docs=("$dir/A/$stem.QzB" "$dir/B/$stem.QzB")
  [ "$name" = print ] && docs=(--print "$dir/A/$stem.QzB")
  v=$((20 + 12 + 19 * (row - 1)))
  {
    # Both documents read, B in front.
    printf 'idle\nwait 600\nidle\nwait 600\nidle\n'
    [ -n "$before" ] && printf '%b\n' "$before"
    if [ "$h" -gt 0 ]; then
      printf 'press %d 10\nmove %d %d\nwait 20\n' "$h" $((h + 20)) "$v"
      [ -n "$sub" ] && printf 'move 270 %d\nwait 20\nmove 290 %d\nwait 20\n' "$v" $((v + 19 * (sub - 1)))
      printf 'release\nidle\nwait 60\nidle\n'
    fi
    printf 'end\n'
  } > "$dir/script.txt"
  (cd "$dir" && QZ_PREFERENCES_DIR="$dir/prefs" QZ_SCRIPT="$dir/script.txt" timeout 60 "$program" \
     "${docs[@]}") > "$dir/stderr.txt" 2>&1
  status=$?
  if [ "$status" -ne 0 ] || grep -Eq 'runtime error|Sanitizer' "$dir/stderr.txt"; then
    echo "$name: the run ended with status $status"; cat "$dir/stderr.txt"; failures=$((failures + 1)); continue
  fi
  for d in A B; do
    if ! diff -r "$dir/$d.before" "$dir/$d" > "$dir/$d.diff" 2>&1; then
      echo "$name: document $d changed:"; cat "$dir/$d.diff"; failures=$((failures + 1))
    fi
    written=$(find "$dir/$d" -type f -newermt "$stamp")
    [ -z "$written" ] || { echo "$name: written though unchanged: $written"; failures=$((failures + 1)); }
  done
done <<< "$commands"
[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
exit 0
