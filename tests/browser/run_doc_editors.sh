#!/usr/bin/env bash
# Runs the program on a copy of the demo structure with a fresh preferences
# folder, edits a method's documentation and a string list from the menus
# (scripts/doc_editors.txt), kills it once both are saved, checks that the
# run left no sanitizer report, then has the checker read the document as
# the killed program left it and the two screenshots.
set -u
program=$1 scripts=$2 work=$3 demo=$4 checker=$5
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
# The run changes the document: it works on a copy, sidecars included.
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
copy="$work/$stem.QzB"
# The checker opens the unedited demo too: a copy of its own, so that the
# build's demo, which other tests copy meanwhile, is never open.
mkdir -p "$work/original"
cp "$from/$stem".* "$from/._$stem".* "$work/original/" 2>/dev/null
original="$work/original/$stem.QzB"
# Once both windows have saved, the program is killed as in a crash: the
# document must already hold what was saved.
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$scripts/doc_editors.txt" exec "$program" "$copy") \
  2> "$work/stderr.txt" &
pid=$!
for i in $(seq 1 1200); do
  [ -s "$work/saved.png" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
sleep 0.5
kill -0 $pid 2>/dev/null || { cat "$work/stderr.txt" >&2; echo "editor run: ended before it was killed"; exit 1; }
kill -KILL $pid
wait $pid 2>/dev/null
cat "$work/stderr.txt" >&2
[ -s "$work/saved.png" ] || { echo "editor run: never saved"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "editor run: sanitizer report"
  exit 1
fi
for shot in documentation strings; do
  [ -s "$work/$shot.png" ] || { echo "no screenshot $shot.png"; exit 1; }
done
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_EDITOR_RUN="$work" QZ_EDITED_STRUCTURE="$copy" QZ_DEMO_STRUCTURE="$original" \
  "$checker" --gtest_filter='EditorScreens.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the checker did not run"; exit 1; }
