#!/usr/bin/env bash
# The program headless over each kind of modal loop (an alert, a dialog, a
# file dialog, the wait dialog of a long read): a script that ends there
# ends the run at once with status 4 naming the modal; SIGTERM there (the
# script held) is answered by the modal's cancel choice and the program
# quits with status 0. A quit sent during a long read quits once the read
# is done (the structure is in the recent list), and a large structure's
# window is whole with no input (the same screen once the mouse has moved).
set -u
program=$1 docbuild=$2 work=$3
rm -rf "$work" && mkdir -p "$work/big"
fail() { echo "$*"; exit 1; }
printf 'structure Big seed 7\ngenerate 10000\n' > "$work/big.qzdoc"
"$docbuild" "$work/big.qzdoc" "$work/big" > /dev/null || fail "cannot build the large structure"
printf 'not a document\n' > "$work/notes.txt"

# start NAME DOC SCRIPT: the program in a folder of its own on a copy of
# DOC (big, notes or none), in the background; its pid in $pid.
start() {
  local dir="$work/$1"
  mkdir -p "$dir/prefs" && printf '%b' "$3" > "$dir/script.txt"
  local args=()
  case $2 in
    big) cp "$work/big/"Big.* "$work/big/"._Big.* "$dir/" && args=("$dir/Big.QzB") ;;
    notes) cp "$work/notes.txt" "$dir/" && args=("$dir/notes.txt") ;;
  esac
  (cd "$dir" && QZ_PREFERENCES_DIR="$dir/prefs" QZ_SCRIPT="$dir/script.txt" exec "$program" "${args[@]}" \
     2> "$dir/stderr.txt") &
  pid=$!
}
finish() { wait $pid; status=$?; }

dialog='idle\ndrag 61 9 100 298 5\n'  # the File menu's Preferences...
for c in "alert|notes|idle\n|alert 1000 \"This file is not" "dialog|none|$dialog|dialog '" \
         "file|none|idle\nkey o cmd\n|open file dialog" "wait|big|wait 200\n|wait dialog 'Big.QzB'"; do
  IFS='|' read -r name doc script named <<< "$c"
  start "end_$name" "$doc" "$script"; finish
  log=$(cat "$work/end_$name/stderr.txt")
  [ "$status" -eq 4 ] && grep -qF "in the $named" <<< "$log" || fail "$name: status $status: $log"
  start "term_$name" "$doc" "${script/wait 200\\n/}hold\n"
  for i in $(seq 1 600); do
    [ -e "$work/term_$name/prefs/Qz Structure Browser Preferences" ] || ! kill -0 $pid 2>/dev/null && break
    sleep 0.1
  done
  sleep 0.5; kill -TERM $pid; finish
  [ "$status" -eq 0 ] || fail "$name: SIGTERM gave status $status: $(cat "$work/term_$name/stderr.txt")"
done

start quit_during_read big 'wait 200\nsend quit\n'; finish
[ "$status" -eq 0 ] && grep -q "Big.QzB" "$work/quit_during_read/prefs/Qz Structure Browser Preferences" ||
  fail "a quit during a read: status $status, or it quit before the read was done"
start drawn big 'idle\nscreenshot a.png\nmove 600 500\nwait 30\nmove 0 0\nwait 30\nidle\nscreenshot b.png\nend\n'; finish
[ "$status" -eq 0 ] && cmp -s "$work/drawn/a.png" "$work/drawn/b.png" || fail "the window was not whole before any input"
exit 0
