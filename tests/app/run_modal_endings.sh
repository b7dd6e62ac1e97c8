#!/usr/bin/env bash
# Every modal loop the program can be left in (each alert and dialog a
# command reaches, the file and wait dialogs), reached headless on copies
# of the demo, one row each, ended four ways in runs of their own:
#   end     Qz > Quit is chosen (the menu offers nothing then) and the script
#           ends there: the run ends with status 4 naming the modal, 61
#           ticks after the script whichever modal it is (the wait dialog
#           of the long read, shown later, 61 ticks after it shows);
#   term    SIGTERM while it is up (the script held): its Cancel answers, the
#           program quits with status 0 and every document is closed, its
#           open mark cleared;
#   escape  Escape, and
#   period  Command-period, where it has a Cancel button: it is gone, the
#           run ends as the script leaves it (status 3, or 4 in another modal).
# Then a quit sent during a long read quits once the read is done (the
# structure is in the recent list), with --print printing nothing though
# its dialogs were answered, whatever the quit's tick; and a large
# structure's window is whole with no input (the same screen once the mouse
# has moved).
set -u
program=$1 docbuild=$2 demo=$3 work=$4
rm -rf "$work" && mkdir -p "$work/big"
fail() { echo "$*"; exit 1; }
mkdir -p "$work/locked"
printf 'structure Big seed 7\ngenerate 10000\n' > "$work/big.qzdoc"
printf 'structure Locked\ntable T\n  field F alpha 10\nuser Administrator password "secret"\n' > "$work/locked.qzdoc"
for d in big locked; do
  "$docbuild" "$work/$d.qzdoc" "$work/$d" > /dev/null || fail "cannot build the structure $d"
done
printf 'not a document\n' > "$work/notes.txt"
long=$(printf 'documentation %.0s' $(seq 1 110))

# Menus: title h, then item n at v = 32 + 19 * (n - 1).
item() { printf 'drag %d 10 %d %d 5\\nidle\\n' "$1" $(($1 + 20)) $((32 + 19 * ($2 - 1))); }
file=61 edit=101 objects=226 components=304
quit='drag 26 10 46 59 5\n'    # Qz > Quit, below its separator
method='click 100 187\nidle\n'          # the project method Close_Invoice, selected
strings='type "Invoice_Texts"\nwait 30\nidle\n'
# The demo's window aside, then Close_Invoice dragged by its icon onto the
# other copy's list.
drop='drag 300 56 900 300 10\nidle\nclick 100 187\nidle\nwait 40\ndrag 40 187 750 450 30\nwait 30\nidle\n'

form='click 100 155\nidle\n'              # the form Invoice, selected
# The library beside DemoTarget, a copy of each run's own (@HERE@: its folder).
install="answer @HERE@/target/Reports-1.QCP\n$(item $components 5)wait 60\nidle\n"
# The install's alert that the constant its Recalculate names reads as
# nothing in DemoTarget, answered.
notcopied='key return\nwait 30\nidle\n'

# name | documents | steps that raise it | how the run names it | has a Cancel button
rows="
message|notes||alert 1000 \"This file is not|
password|locked||dialog 257 |yes
read-wait|big|wait 200\n|wait dialog 'Big.QzB'|
open-file|demo|key o cmd\nidle\n|open file dialog|yes
open-sql|demo|$(item $file 3)|open file dialog|yes
save-file|none|$(item $file 1)$(item $file 10)|save file dialog|yes
open-server|demo|$(item $file 6)|dialog 5001 |yes
export|demo|$(item $file 12)|dialog 300 |yes
page-setup|demo|$(item $file 13)|dialog 'Page Setup'|yes
print-options|demo|$(item $file 14)|dialog 265 |yes
print|demo|$(item $file 14)key return\nwait 30\nidle\n|dialog 'Print'|yes
preferences|demo|$(item $file 15)|dialog 259 |yes
conflict-defaults|demo|$(item $file 16)|conflict dialog 'Default|yes
blocking|demo|$(item $file 17)|dialog 280 |yes
filters|demo|$(item $file 18)|dialog 268 |yes
criteria|demo|$(item $file 18)click 500 284\nidle\nclick 759 273\nwait 30\nidle\n|dialog 264 |yes
delete-form|demo|$form$(item $edit 5)|alert 1002 \"Delete Form|yes
delete-documentation|demo|click 100 75\nidle\n$(item $edit 10)|alert 1002 \"Delete the documentation|yes
find|demo|$(item $edit 13)|dialog 264 |yes
rename|demo|$method$(item $objects 1)|dialog 263 |yes
prefix|demo|$method$(item $objects 2)|dialog 278 |yes
replace-names|demo|$method$(item $objects 3)|dialog 279 |yes
replace-text|demo|$method$(item $objects 4)|dialog 282 |yes
replace-command|demo|$method$(item $objects 5)|dialog 283 |yes
texts-to-strings|demo|$method$(item $objects 6)|dialog 261 |yes
strings-to-texts|demo|$method$(item $objects 7)|alert 1002 \"Bring the texts|yes
scale-forms|demo|$form$(item $objects 8)|dialog 130 |yes
new-group|demo|$method$(item $objects 9)|dialog 275 |yes
new-component|demo|$method$(item $components 1)|dialog 110 |yes
name-taken|demo|$method$(item $components 1)type \"Public\"\nkey tab\nkey tab\nkey tab\nkey tab\ntype \"P\"\nkey return\nidle\n|alert 1000 \"Another object of this kind has that name.|
install-format|target|$install|alert 1002 \"Installing a component|yes
component-properties|target|${install}key return\nwait 120\nidle\n${notcopied}click 100 363\nidle\n$(item $components 2)|dialog 111 |
conflicts|demo second|$drop|conflict dialog 'Copy from|yes
conflict-rename|demo second|${drop}click 520 284\nwait 30\nidle\n|dialog 600 |yes
save-on-quit|demo|$strings$(item $edit 8)type \"x\"\nidle\n${quit}wait 30\nidle\n|alert 1003 |yes
full-disk|demo|$method$(item $edit 9)type \"$long\"\nidle\nkey w cmd\nidle\n|alert 1000 \"The disk is full.|
"

# start DIR DOCS SCRIPT [LIMIT]: the program in DIR on fresh copies of DOCS,
# in the background (its pid in $pid); LIMIT (KiB) keeps files from growing
# past it, as a full disk does; "print" in DOCS asks for printing.
start() {
  local dir=$1 args=() d
  rm -rf "$dir" && mkdir -p "$dir/prefs" && printf '%b' "${3//@HERE@/$dir}" > "$dir/script.txt"
  for d in $2; do
    mkdir -p "$dir/$d"
    case $d in
      demo | second) cp "$demo"/Demo.* "$demo"/._Demo.* "$dir/$d/" && args+=("$dir/$d/Demo.QzB") ;;
      target) cp "$demo"/DemoTarget.* "$demo"/._DemoTarget.* "$demo"/Reports-1.* "$dir/$d/" &&
                args+=("$dir/$d/DemoTarget.QzB") ;;
      big | locked) cp "$work/$d/"* "$work/$d/"._* "$dir/$d/" && args+=("$dir/$d/"*.QzB) ;;
      notes) cp "$work/notes.txt" "$dir/$d/" && args+=("$dir/$d/notes.txt") ;;
      print) args+=(--print) ;;
    esac
  done
  local limit=${4:-unlimited}
  (cd "$dir" && trap '' XFSZ && ulimit -f "$limit" && QZ_PREFERENCES_DIR="$dir/prefs" QZ_SCRIPT="$dir/script.txt" \
     exec "$program" "${args[@]}" 2> "$dir/stderr.txt") &
  pid=$!
}
finish() { wait $pid; status=$?; }

# Whether every structure in DIR is closed: the open mark (bit 0 of the
# header's flags word, bytes 20-23) is clear.
closed() {
  local f
  for f in "$1"/*/*.QzB; do
    [ -e "$f" ] || continue
    [ $(( $(od -An -tu1 -j23 -N1 "$f") & 1 )) -eq 0 ] || { echo "$f is still marked open"; return 1; }
  done
}

# check ROW: its runs, one after the other; says what went wrong.
check() {
  local name docs steps named cancels limit= dir="$work/$1" k
  IFS='|' read -r name docs steps named cancels <<< "$2"
  # A disk with room for the documentation editor's opening, not its text.
  [ "$name" = full-disk ] && limit=$(( ($(stat -c %s "$demo/Demo.QzB") + 2047) / 1024 ))
  # The documents read first; a long read is caught while it runs.
  local prelude='move 1275 795\nidle\nwait 600\nidle\nwait 600\nidle\n' up='idle\n'
  [ "$docs" = big ] && prelude= up=
  start "$dir/end" "$docs" "$prelude$steps$quit" $limit; finish
  log=$(cat "$dir/end/stderr.txt")
  [ "$status" -eq 4 ] && grep -qF "in the $named" <<< "$log" || { echo "$name, end: status $status: $log"; return 1; }
  local ticks
  ticks=$(sed -n 's/.*ended at tick \([0-9]*\) and .* waiting for input at tick \([0-9]*\).*/\2 - \1/p' <<< "$log")
  if [ "$docs" != big ]; then
    [ -n "$ticks" ] && [ $((ticks)) -eq 61 ] || { echo "$name, end: not 61 ticks after the script: $log"; return 1; }
  fi
  start "$dir/term" "$docs" "${prelude}${steps/wait 200\\n/}${up}screenshot up.png\nhold\n" $limit
  for k in $(seq 1 1200); do
    [ -e "$dir/term/up.png" ] || ! kill -0 $pid 2>/dev/null && break
    sleep 0.05
  done
  kill -TERM $pid; finish
  [ "$status" -eq 0 ] || { echo "$name, SIGTERM: status $status: $(cat "$dir/term/stderr.txt")"; return 1; }
  # A commit the full disk refused leaves the mark for the next opening.
  [ "$name" = full-disk ] || closed "$dir/term" || { echo "$name, SIGTERM: a document was left open"; return 1; }
  [ "$cancels" = yes ] || return 0
  for k in 'key escape' 'key . cmd'; do
    start "$dir/cancel" "$docs" "$prelude$steps$k\nidle\n" $limit; finish
    log=$(cat "$dir/cancel/stderr.txt")
    [ "$status" -eq 3 ] || { [ "$status" -eq 4 ] && ! grep -qF "in the $named" <<< "$log"; } ||
      { echo "$name, $k: status $status: $log"; return 1; }
  done
}

# The rows three at a time, each in a job of its own.
failures=0
while IFS= read -r row; do
  [ -n "$row" ] || continue
  # QZ_MODAL_ONLY=REGEX: only the rows whose names match.
  [[ -z ${QZ_MODAL_ONLY:-} || ${row%%|*} =~ ^(${QZ_MODAL_ONLY})$ ]] || continue
  while [ "$(jobs -rp | wc -l)" -ge 3 ]; do wait -n; done
  (check "${row%%|*}" "$row" > "$work/${row%%|*}.result" 2>&1 || echo failed >> "$work/${row%%|*}.result") &
done <<< "$rows"
wait
for r in "$work"/*.result; do
  grep -q failed "$r" && { cat "$r"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] || fail "$failures modals not ended as they should be"

start "$work/quit_during_read" big 'wait 200\nsend quit\n'; finish
[ "$status" -eq 0 ] && grep -q "Big.QzB" "$work/quit_during_read/prefs/Qz Structure Browser Preferences" ||
  fail "a quit during a read: status $status, or it quit before the read was done"
QZ_DOCUMENTS_DIR="$work/print_quit" start "$work/print_quit" "print big" 'choose 1\nanswer choose\nwait 200\nsend quit\n'
finish
[ "$status" -eq 0 ] && ! ls "$work/print_quit"/*.pdf > /dev/null 2>&1 &&
  grep -q "Big.QzB" "$work/print_quit/prefs/Qz Structure Browser Preferences" ||
  fail "a quit during a read with --print: status $status, it quit before the read was done, or it printed"
# Whatever its tick, a quit during a --print run of the demo prints nothing
# and ends with status 0 (the dialogs are answered, to print if asked).
for at in 0 5 120; do
  steps='choose 1\nanswer choose\n'
  [ "$at" -eq 0 ] || steps+="wait $at\n"
  QZ_DOCUMENTS_DIR="$work/print_quit_$at" start "$work/print_quit_$at" "print demo" "${steps}end\n"; finish
  [ "$status" -eq 0 ] && ! ls "$work/print_quit_$at"/*.pdf > /dev/null 2>&1 ||
    fail "a quit at tick $at of a --print run: status $status, or it printed: $(cat "$work/print_quit_$at/stderr.txt")"
done
start "$work/drawn" big 'idle\nscreenshot a.png\nmove 600 500\nwait 30\nmove 0 0\nwait 30\nidle\nscreenshot b.png\nend\n'; finish
[ "$status" -eq 0 ] && cmp -s "$work/drawn/a.png" "$work/drawn/b.png" || fail "the window was not whole before any input"
exit 0
