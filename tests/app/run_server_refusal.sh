#!/usr/bin/env bash
# A structure opened from the test server holds its connection while it is
# open; one whose design the user may not open lets it go. Bert logs in to
# a structure whose design only Anna's group may open: after the refusal's
# alert the program, kept waiting by its script, holds no socket to the
# server. So it does when the server cuts its reply with the password
# tables: the open ends at that alert, before any login. Anna's open holds
# one, which shows the count sees it. SIGTERM then quits each run with
# status 0.
#   run_server_refusal.sh PROGRAM DOCBUILD SERVER WORK
set -u
program=$1 docbuild=$2 server=$3 work=$4
rm -rf "$work" && mkdir -p "$work/served"
fail() { echo "$*"; exit 1; }
cat > "$work/served/Demo.qzdoc" <<'DOC'
structure Demo date 2024-03-01 seed 3

table Things
  field Code longint

user Designer password "design"
user Bert password "bert"
user Anna password "anna"
usergroup Makers
  user Anna
designgroup Makers
DOC
"$docbuild" "$work/served/Demo.qzdoc" "$work/served" > "$work/served/log.txt" 2>&1 ||
  { cat "$work/served/log.txt"; fail "cannot build the served structure"; }

server_pid= pid=
trap '[ -n "$server_pid" ] && touch "$work/stop"; [ -n "$pid" ] && kill "$pid" 2>/dev/null' EXIT

# sockets: how many of the program's sockets reach the server's port, in
# whatever state.
sockets() {
  local inode n=0 hex
  hex=$(printf '%04X' "$port")
  for inode in $(ls -l "/proc/$pid/fd" 2>/dev/null | sed -n 's/.*socket:\[\([0-9]*\)\]$/\1/p'); do
    awk -v port=":$hex" -v inode="$inode" 'substr($3, length($3) - 4) == port && $10 == inode { found = 1 }
                                           END { exit !found }' /proc/net/tcp && n=$((n + 1))
  done
  echo "$n"
}

# run NAME USER PASSWORD EXPECTED [CUT]: the program logs in as USER, the
# alert a refusal puts up answered, then waits; it must hold EXPECTED
# sockets. With CUT the server cuts its first reply to that request.
run() {
  local name=$1 user=$2 password=$3 expected=$4 cut=${5:-} dir="$work/$1"
  mkdir -p "$dir/prefs" "$dir/cache"
  rm -f "$work/port" "$work/stop"
  QZ_SERVE_STRUCTURE="$work/served/Demo.QzB" QZ_SERVE_PORT_FILE="$work/port" QZ_SERVE_STOP_FILE="$work/stop" \
    QZ_SERVE_CUT_REPLY="$cut" "$server" --gtest_filter='ServedStructure.*' > "$dir/server.txt" 2>&1 &
  server_pid=$!
  for _ in $(seq 1 300); do [ -s "$work/port" ] && break; sleep 0.1; done
  [ -s "$work/port" ] || { cat "$dir/server.txt"; fail "$name: the server did not start"; }
  port=$(cat "$work/port")
  {
    printf 'idle\n# File > Open from Server... (the sixth item)\npress 60 10\nmove 80 127\nwait 20\nrelease\nwait 30\nidle\n'
    printf 'type 127.0.0.1:%s\nkey tab\ntype Demo\nkey return\nwait 60\nidle\n' "$port"
    printf 'type %s\nkey tab\ntype %s\nkey return\nwait 120\nidle\n' "$user" "$password"
    [ "$expected" -eq 0 ] && printf 'key return\nwait 30\nidle\n'
    printf 'screenshot waiting.png\nhold\n'
  } > "$dir/script.txt"
  (cd "$dir" && QZ_PREFERENCES_DIR="$dir/prefs" QZ_CACHE_DIR="$dir/cache" QZ_SCRIPT="$dir/script.txt" \
     exec "$program" 2> "$dir/stderr.txt") &
  pid=$!
  for _ in $(seq 1 600); do [ -s "$dir/waiting.png" ] || ! kill -0 "$pid" 2>/dev/null && break; sleep 0.1; done
  sleep 0.5
  local held
  held=$(sockets)
  kill -TERM "$pid"; wait "$pid"; local status=$?; pid=
  touch "$work/stop"; wait "$server_pid"; server_pid=
  [ "$status" -eq 0 ] || { cat "$dir/stderr.txt"; fail "$name: status $status"; }
  grep -Eq 'runtime error|Sanitizer' "$dir/stderr.txt" && { cat "$dir/stderr.txt"; fail "$name: sanitizer report"; }
  [ "$held" -eq "$expected" ] || fail "$name: $held sockets to the server, $expected expected"
}

run opened Anna anna 1
run refused Bert bert 0
run tables_cut Bert bert 0 74
exit 0
