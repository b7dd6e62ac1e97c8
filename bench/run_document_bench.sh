#!/usr/bin/env bash
# One mode of document_bench, on small work: the bench ends with status 0
# and shows that the work it timed was done, or (the "refused" modes) ends
# with another status and says why.
#   run_document_bench.sh BENCH QZDOCBUILD DEMO WORK MODE
# MODE: read-demo, save-demo, read-generated, save-generated, measure, sql,
# plugins, save-refused (a structure with no string list), read-refused (a
# file that is no structure).
set -u
bench=$1 docbuild=$2 demo=$3 work=$4 mode=$5
rm -rf "$work" && mkdir -p "$work"
fail() { echo "$mode: $*"; exit 1; }

# A structure the document builder writes from `lines`, named `stem`.
generated() {
  printf '%s\n' "$2" > "$work/$1.txt"
  "$docbuild" "$work/$1.txt" "$work" > /dev/null || fail "the structure was not built"
  structure=$work/$1.QzB
}
# The demo's files, copied: other tests compare the build's demo byte for byte.
demo_copy() {
  [ -s "$demo" ] || fail "no demo structure at $demo"
  local stem from
  stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
  cp "$from/$stem".* "$work/" && cp "$from/._$stem".* "$work/" 2>/dev/null
  structure=$work/$stem.QzB
}
# Runs the bench; its output in $out, its status in $status.
run() {
  out=$("$bench" "$@" 2>&1)
  status=$?
  printf '%s\n' "$out"
}
companion() { printf '%s' "${structure%.QzB}.RSR"; }

case $mode in
read-demo | read-generated)
  if [ "$mode" = read-demo ]; then demo_copy; else generated Gen "structure Gen seed 7
forms iff
generate 2000"; fi
  run --read "$structure"
  [ "$status" -eq 0 ] || fail "status $status"
  objects=$(printf '%s\n' "$out" | sed -n 's/.*: \([0-9]*\) objects$/\1/p')
  [ "${objects:-0}" -gt 0 ] || fail "no object read"
  ;;
save-demo | save-generated)
  if [ "$mode" = save-demo ]; then demo_copy; else generated Gen "structure Gen seed 7
forms iff
generate 2000"; fi
  cp "$(companion)" "$work/before.RSR"
  # One untimed round and two timed ones, each saving: the list's first
  # character is flipped an odd number of times.
  run --save "$structure" 1
  [ "$status" -eq 0 ] || fail "status $status"
  cmp -s "$(companion)" "$work/before.RSR" && fail "no string list was saved"
  run --read "$structure"
  [ "$status" -eq 0 ] || fail "the saved structure does not read (status $status)"
  ;;
measure)
  run 300 --keep "$work/kept"
  [ "$status" -eq 0 ] || fail "status $status"
  printf '%s\n' "$out" | grep -Eq '^objects read +[1-9]' || fail "no object read"
  ;;
sql)
  run --sql
  [ "$status" -eq 0 ] || fail "status $status"
  printf '%s\n' "$out" | grep -q ': 255 tables read' || fail "the script was not read whole"
  ;;
plugins)
  TMPDIR=$work run --plugins
  [ "$status" -eq 0 ] || fail "status $status"
  printf '%s\n' "$out" | grep -q '^Plug-in folder of 200 files' || fail "no plug-in was read"
  ;;
save-refused)
  generated Plain "structure Plain
table Invoices
  field Number longint"
  cp "$(companion)" "$work/before.RSR"
  run --save "$structure" 1
  [ "$status" -ne 0 ] || fail "a save of nothing ended with status 0"
  printf '%s\n' "$out" | grep -q 'has no string list to save' || fail "the failure is not said"
  printf '%s\n' "$out" | grep -q ' ms' && fail "a time is given for a save that failed"
  cmp -s "$(companion)" "$work/before.RSR" || fail "the companion changed"
  ;;
read-refused)
  structure=$work/Junk.QzB
  printf 'not a structure\n' > "$structure"
  run --read "$structure"
  [ "$status" -ne 0 ] || fail "a read of no structure ended with status 0"
  printf '%s\n' "$out" | grep -q "^opening $structure: error -\?[0-9]*: ." || fail "the failure is not said in words"
  printf '%s\n' "$out" | grep -q 'OpenQzB' && fail "times are given for a read that failed"
  ;;
*) fail "no such mode" ;;
esac
exit 0
