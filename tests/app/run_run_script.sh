#!/usr/bin/env bash
# scripts/run starts the program in the folder it was run from, so that
# documents named relative to it are found, and names the demo by its full
# path. Run on a copy whose setup, build and program are stand-ins: the
# program notes its folder and lists its arguments.
set -u
source=$1 work=$2
rm -rf "$work" && mkdir -p "$work/root/scripts" "$work/root/build/release/demo" "$work/bin" "$work/user/docs"
cp "$source/scripts/run" "$work/root/scripts/run"
printf '#!/bin/sh\n' | tee "$work/root/scripts/setup" > "$work/bin/cmake"
printf '#!/bin/sh\n{ pwd; ls -d "$@"; } > %s/started.txt 2>&1\n' "$work" > "$work/root/build/release/qzbrowser"
chmod +x "$work/root/scripts/"* "$work/bin/cmake" "$work/root/build/release/qzbrowser"
touch "$work/user/docs/A.QzB" "$work/root/build/release/demo/Demo.QzB"

check() {  # what the program notes, then the arguments
  local expected=$1
  shift
  (cd "$work/user" && PATH="$work/bin:$PATH" DISPLAY=:0 ../root/scripts/run "$@") > /dev/null 2>&1
  [ "$(cat "$work/started.txt")" = "$expected" ] || { echo "scripts/run $*: $(cat "$work/started.txt")"; exit 1; }
}
check "$work/user
docs/A.QzB" docs/A.QzB
check "$work/user
$work/root/build/release/demo/Demo.QzB"
exit 0
