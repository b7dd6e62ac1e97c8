#!/usr/bin/env bash
# Saving documents the program made. A new library saved under a name keeps
# what is changed in it afterwards: the group made after the save is in the
# file once the program has quit. A new structure holding an installed
# component but no table is not saved: the stop alert says why (the run
# ends over it with status 4), and no file is written.
#   run_saves.sh PROGRAM DOCBUILD SCRIPTS WORK
set -u
program=$1 docbuild=$2 scripts=$3 work=$4
rm -rf "$work" && mkdir -p "$work/prefs"
fail() { echo "$*"; exit 1; }
# run NAME [DOCUMENT]: the script NAME.txt with WORK put in; its status in
# $status, its standard error in $work/NAME-stderr.txt.
run() {
  local name=$1; shift
  sed "s|WORK|$work|g" "$scripts/$name.txt" > "$work/$name.txt"
  (cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/$name.txt" timeout 60 "$program" "$@") \
    2> "$work/$name-stderr.txt"
  status=$?
  if grep -Eq 'runtime error|Sanitizer' "$work/$name-stderr.txt"; then
    cat "$work/$name-stderr.txt"; fail "$name: sanitizer report"
  fi
}

run library_save
[ "$status" -eq 0 ] || fail "library_save: status $status: $(cat "$work/library_save-stderr.txt")"
[ -s "$work/Saved.QTL" ] || fail "library_save: no library Saved.QTL"
grep -qa "Kept_After" "$work/Saved.QTL" || fail "library_save: the group made after the save is not in the library"

"$docbuild" "$scripts/tools.qzdoc" "$work" > /dev/null || fail "cannot build the structure Tools"
run tools_generate "$work/Tools.QzB"
[ "$status" -eq 0 ] && [ -s "$work/Tools-1.QCP" ] || fail "tools_generate: status $status, or no library Tools-1.QCP"
run structure_save
expected='in the alert 1000 "This structure holds components but no table: it cannot be saved as a structure."'
[ "$status" -eq 4 ] && grep -qF "$expected" "$work/structure_save-stderr.txt" ||
  fail "structure_save: status $status: $(cat "$work/structure_save-stderr.txt")"
[ ! -e "$work/Saved.QzB" ] || fail "structure_save: the structure was saved"
exit 0
