#!/usr/bin/env bash
# The program opens the demo that the test server publishes: File > Open
# from Server..., the address typed in the server dialog, then a user and a
# password in the login dialog. Bert logs in but may not open the design:
# the refusal's alert, then the screen as it was before. Anna's wrong
# password beeps and leaves the dialog as it was (the checker compares the
# screenshots, the caret aside); her own opens the demo, whose rows the
# checker finds in the browser window. Then a group she makes reaches the
# server although the server cuts its reply: the window shows it.
#
# The published copy is the demo with a designer's password, so that its
# users must log in; its component is not installed, since the enciphered
# resources of an installed one do not travel through a server (its map
# carries no attributes), and it has no plug-ins, since a server's
# structure finds those in the client's cache, not in its companion. The
# checker reads the same copy without the password.
set -u
program=$1 docbuild=$2 server=$3 checker=$4 work=$5 description=$6
rm -rf "$work" && mkdir -p "$work/served" "$work/local"
sed -e '/^component Invoice_Reports /s/ installed$//' -e '/^  map PICT 128 15000$/d' \
    -e '/^package Invoicing_Tools /d' -e '/^  routine "/d' -e '/^routine Print_Label /d' "$description" \
  > "$work/local/Demo.qzdoc"
sed 's/^user Designer method Start_Up$/user Designer password "design" method Start_Up/' "$work/local/Demo.qzdoc" \
  > "$work/served/Demo.qzdoc"
grep -q '^user Designer password' "$work/served/Demo.qzdoc" && ! grep -q ' installed$' "$work/local/Demo.qzdoc" &&
  ! grep -Eq '^(package|routine) ' "$work/local/Demo.qzdoc" ||
  { echo "the demo's designer, component or plug-in lines are not as expected"; exit 1; }
for copy in served local; do
  "$docbuild" "$work/$copy/Demo.qzdoc" "$work/$copy" > "$work/$copy/log.txt" 2>&1 || { cat "$work/$copy/log.txt"; exit 1; }
done

server_pid=
serve() {
  rm -f "$work/port" "$work/stop"
  QZ_SERVE_STRUCTURE="$work/served/Demo.QzB" QZ_SERVE_PORT_FILE="$work/port" QZ_SERVE_STOP_FILE="$work/stop" \
    "$server" --gtest_filter='ServedStructure.*' > "$work/server.txt" 2>&1 &
  server_pid=$!
  for _ in $(seq 1 300); do [ -s "$work/port" ] && break; sleep 0.1; done
  [ -s "$work/port" ] || { echo "the server did not start"; cat "$work/server.txt"; exit 1; }
  port=$(cat "$work/port")
}
stop() { touch "$work/stop"; wait "$server_pid"; }
trap '[ -n "$server_pid" ] && touch "$work/stop"' EXIT

# run NAME: the program on the script read from standard input, after the
# steps that open the server dialog and name the server and the structure.
run() {
  local name=$1 dir="$work/$1"
  mkdir -p "$dir/prefs" "$dir/cache"
  serve
  {
    printf 'move 1275 795\nidle\nscreenshot start.png\n'
    printf '# File > Open from Server... (the sixth item)\npress 60 10\nmove 80 127\nwait 20\nrelease\nwait 30\nidle\n'
    printf 'type 127.0.0.1:%s\nkey tab\ntype Demo\nkey return\nwait 60\nidle\n' "$port"
    cat
    printf 'end\n'
  } > "$dir/script.txt"
  (cd "$dir" && QZ_PREFERENCES_DIR="$dir/prefs" QZ_CACHE_DIR="$dir/cache" QZ_SCRIPT="$dir/script.txt" \
     timeout 100 "$program") > "$dir/stderr.txt" 2>&1
  local status=$?
  stop
  cat "$dir/stderr.txt" >&2
  [ "$status" -eq 0 ] || { echo "$name: status $status"; exit 1; }
  if grep -Eq 'runtime error|Sanitizer' "$dir/stderr.txt"; then echo "$name: sanitizer report"; exit 1; fi
}

run bert <<'STEPS'
type Bert
key tab
type bert
key return
wait 120
idle
screenshot refused.png
key return
wait 30
move 1275 795
idle
screenshot closed.png
STEPS
for shot in start refused closed; do [ -s "$work/bert/$shot.png" ] || { echo "bert: no $shot.png"; exit 1; }; done
cmp -s "$work/bert/start.png" "$work/bert/refused.png" && { echo "bert: no alert showed"; exit 1; }
cmp -s "$work/bert/start.png" "$work/bert/closed.png" || { echo "bert: the screen is not as it was before"; exit 1; }

run anna <<'STEPS'
type Anna
key tab
type bert
wait 30
idle
screenshot typed.png
key return
wait 30
idle
screenshot kept.png
key delete
key delete
key delete
key delete
type anna
key return
wait 600
idle
wait 600
move 1275 795
idle
screenshot opened.png
STEPS
for shot in typed kept opened; do [ -s "$work/anna/$shot.png" ] || { echo "anna: no $shot.png"; exit 1; }; done

# Anna makes a group Fresh from the Objects menu while the server cuts its
# reply to the group's addition, the change's last write: the alert says
# that the connection was lost and that the whole change reached the
# server; once it is answered, the window shows the group as the server
# holds it, as a local copy of the demo with the group shows it.
QZ_SERVE_CUT_REPLY=25 run group <<'STEPS'
type Anna
key tab
type anna
key return
wait 600
idle
wait 600
# Objects > New Group...
press 225 10
move 240 184
wait 2
release
wait 30
type Fresh
wait 10
choose 1
wait 60
idle
screenshot alert.png
key return
wait 60
idle
move 1275 795
idle
screenshot grouped.png
STEPS
for shot in alert grouped; do [ -s "$work/group/$shot.png" ] || { echo "group: no $shot.png"; exit 1; }; done
mkdir -p "$work/grouped"
{ cat "$work/local/Demo.qzdoc"; printf 'group Fresh\n'; } > "$work/grouped/Demo.qzdoc"
"$docbuild" "$work/grouped/Demo.qzdoc" "$work/grouped" > "$work/grouped/log.txt" 2>&1 ||
  { cat "$work/grouped/log.txt"; exit 1; }

QZ_PREFERENCES_DIR="$work/check-prefs" QZ_SERVER_SCREENS="$work/anna" QZ_DEMO_STRUCTURE="$work/local/Demo.QzB" \
  QZ_SERVER_GROUP_SCREENS="$work/group" QZ_GROUPED_STRUCTURE="$work/grouped/Demo.QzB" \
  "$checker" --gtest_filter='ServerScreens.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 2 tests' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }
