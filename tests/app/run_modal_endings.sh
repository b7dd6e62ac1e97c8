#!/usr/bin/env bash
# The program headless over each kind of modal loop:
#  - a script that ends while an alert, a dialog, a file dialog or the wait
#    dialog of a long read is up: the run ends at once with status 4 and
#    says which modal it was left in;
#  - SIGTERM while one is up (a script ending on hold): the modal answers
#    its cancel choice and the program quits with status 0;
#  - a quit sent during a long read: the read is finished, then the program
#    quits with status 0 (the structure reached the recent list);
#  - a large structure's window is drawn with no input: the screen after
#    the read equals the screen after the mouse has been moved and put back.
set -u
program=$1 docbuild=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
fail() { echo "$*"; exit 1; }

mkdir -p "$work/big"
printf 'structure Big seed 7\ngenerate 10000\n' > "$work/big.qzdoc"
"$docbuild" "$work/big.qzdoc" "$work/big" > /dev/null || fail "cannot build the large structure"
printf 'not a document\n' > "$work/notes.txt"

# Makes the folder of a case (its own copy of the document) and its script;
# the program's arguments go to the array `args`.
prepare() {
  local name=$1 doc=$2 script=$3 dir="$work/$1"
  mkdir -p "$dir/prefs"
  printf '%b' "$script" > "$dir/script.txt"
  args=()
  case $doc in
    big) cp "$work/big/"Big.* "$work/big/"._Big.* "$dir/" && args=("$dir/Big.QzB") ;;
    notes) cp "$work/notes.txt" "$dir/" && args=("$dir/notes.txt") ;;
  esac
}

# Runs a case to its end.
run() {
  prepare "$@"
  local dir="$work/$1"
  (cd "$dir" && QZ_PREFERENCES_DIR="$dir/prefs" QZ_SCRIPT="$dir/script.txt" timeout 60 "$program" "${args[@]}" \
     2> "$dir/stderr.txt")
}

# The File menu's Preferences item, pressed on the title and released on it.
dialog='idle\ndrag 61 9 100 222 5\n'
for c in "alert|notes|idle\n|alert 1000 \"This file is not a structure" \
         "dialog|none|$dialog|dialog '" \
         "file|none|idle\nkey o cmd\n|open file dialog" \
         "wait|big|wait 200\n|wait dialog 'Big.QzB'"; do
  IFS='|' read -r name doc script named <<< "$c"
  run "ends_$name" "$doc" "$script"
  status=$?
  [ "$status" -eq 4 ] || fail "$name: status $status, not 4: $(cat "$work/ends_$name/stderr.txt")"
  grep -qF "in the $named" "$work/ends_$name/stderr.txt" || fail "$name: the modal is not named: $(cat "$work/ends_$name/stderr.txt")"
done

# SIGTERM once the program waits (it made its preferences), the script held.
for c in "alert|notes|idle\nhold\n" "dialog|none|${dialog}hold\n" "file|none|idle\nkey o cmd\nhold\n" \
         "wait|big|hold\n"; do
  IFS='|' read -r name doc script <<< "$c"
  dir="$work/term_$name"
  prepare "term_$name" "$doc" "$script"
  (cd "$dir" && QZ_PREFERENCES_DIR="$dir/prefs" QZ_SCRIPT="$dir/script.txt" exec "$program" "${args[@]}" \
     2> "$dir/stderr.txt") &
  pid=$!
  for i in $(seq 1 600); do
    [ -e "$dir/prefs/Qz Structure Browser Preferences" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  sleep 0.5
  kill -TERM $pid
  wait $pid
  status=$?
  [ "$status" -eq 0 ] || fail "$name: SIGTERM gave status $status: $(cat "$dir/stderr.txt")"
done

# A quit sent while the structure is still being read.
run quit_during_read big 'wait 200\nsend quit\n'
status=$?
[ "$status" -eq 0 ] || fail "quit during a read: status $status: $(cat "$work/quit_during_read/stderr.txt")"
grep -q "Big.QzB" "$work/quit_during_read/prefs/Qz Structure Browser Preferences" ||
  fail "quit during a read: the program quit before the read was done"

# Drawn with no input.
run drawn big 'idle\nscreenshot first.png\nmove 600 500\nwait 30\nmove 0 0\nwait 30\nidle\nscreenshot again.png\nend\n'
status=$?
[ "$status" -eq 0 ] || fail "drawn: status $status: $(cat "$work/drawn/stderr.txt")"
cmp -s "$work/drawn/first.png" "$work/drawn/again.png" || fail "the window was not whole before the first input"
exit 0
