#!/usr/bin/env bash
# scripts/run starts the program in the folder it was run from, so that
# documents named relative to it are found, and without arguments on a
# fresh copy of the demo each run, named by its full path. Run on a copy
# whose setup, build and program are stand-ins: the program notes its
# folder, lists its arguments with what they hold, and changes them.
set -u
source=$1 work=$2
rm -rf "$work" && mkdir -p "$work/root/scripts" "$work/root/build/release/demo" "$work/bin" "$work/user/docs"
cp "$source/scripts/run" "$work/root/scripts/run"
printf '#!/bin/sh\n' | tee "$work/root/scripts/setup" > "$work/bin/cmake"
printf '#!/bin/sh\n{ pwd; ls -d "$@"; cat "$@"; } > %s/started.txt 2>&1\nfor f; do echo changed >> "$f"; done\n' \
  "$work" > "$work/root/build/release/qzbrowser"
chmod +x "$work/root/scripts/"* "$work/bin/cmake" "$work/root/build/release/qzbrowser"
echo a > "$work/user/docs/A.QzB"
echo demo > "$work/root/build/release/demo/Demo.QzB"

check() {  # what the program notes, then the arguments
  local expected=$1
  shift
  (cd "$work/user" && PATH="$work/bin:$PATH" DISPLAY=:0 ../root/scripts/run "$@") > /dev/null 2>&1
  [ "$(cat "$work/started.txt")" = "$expected" ] || { echo "scripts/run $*: $(cat "$work/started.txt")"; exit 1; }
}
check "$work/user
docs/A.QzB
a" docs/A.QzB
for _ in 1 2; do
  check "$work/user
$work/root/build/run/demo/Demo.QzB
demo"
done
[ "$(cat "$work/root/build/release/demo/Demo.QzB")" = demo ] || { echo "the build's demo was changed"; exit 1; }
exit 0
