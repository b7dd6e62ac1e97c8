#!/usr/bin/env bash
# scripts/run starts the program in the folder it was run from, so that
# documents named relative to that folder are found; with no document it
# names the demo by its full path. Run on a copy of the script whose setup,
# build and program are stand-ins: the program notes its folder and which
# of its arguments name an existing file.
set -u
source=$1 work=$2
rm -rf "$work" && mkdir -p "$work/root/scripts" "$work/root/build/release" "$work/bin" "$work/user/docs"
cp "$source/scripts/run" "$work/root/scripts/run"
printf '#!/bin/sh\nexit 0\n' > "$work/root/scripts/setup"
printf '#!/bin/sh\nexit 0\n' > "$work/bin/cmake"
cat > "$work/root/build/release/qzbrowser" <<EOF
#!/bin/sh
{ pwd; for a in "\$@"; do if [ -e "\$a" ]; then echo "found \$a"; else echo "missing \$a"; fi; done; } > "$work/started.txt"
EOF
chmod +x "$work/root/scripts/"* "$work/bin/cmake" "$work/root/build/release/qzbrowser"
touch "$work/user/docs/A.QzB"

check() {
  local expected=$1
  shift
  rm -f "$work/started.txt"
  (cd "$work/user" && PATH="$work/bin:$PATH" DISPLAY=:0 ../root/scripts/run "$@") > /dev/null 2>&1
  local started
  started=$(cat "$work/started.txt" 2> /dev/null)
  [ "$started" = "$expected" ] || { printf 'scripts/run %s started:\n%s\nnot:\n%s\n' "$*" "$started" "$expected"; exit 1; }
}
check "$work/user
found docs/A.QzB" docs/A.QzB
check "$work/user
missing $work/root/build/release/demo/Demo.QzB"
exit 0
