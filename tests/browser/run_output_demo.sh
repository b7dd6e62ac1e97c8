#!/usr/bin/env bash
# Runs the program on a copy of the demo structure: it exports and prints
# the main list from the File menu and previews four objects
# (scripts/demo_output.txt). The export must equal the reviewed file below
# its two header lines, the PDF must have a footer on every page, and the
# checker finds each preview on its screenshot and reads the first page.
set -u
program=$1 scripts=$2 work=$3 demo=$4 checker=$5 expected=$6
rm -rf "$work" && mkdir -p "$work/prefs" "$work/documents"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
stem=$(basename "$demo" .QzB) from=$(dirname "$demo")
cp "$from/$stem".* "$from/._$stem".* "$work/" 2>/dev/null
copy="$work/$stem.QzB"
mkdir -p "$work/original"
cp "$from/$stem".* "$from/._$stem".* "$work/original/" 2>/dev/null
sed "s|WORK|$work|g" "$scripts/demo_output.txt" > "$work/steps.txt"
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_DOCUMENTS_DIR="$work/documents" QZ_SCRIPT="$work/steps.txt" \
  "$program" "$copy") 2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "output run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "output run: sanitizer report"
  exit 1
fi
[ -s "$work/DemoList.txt" ] || { echo "no export"; exit 1; }
# A text file here ends its lines with LF alone.
if grep -q $'\r' "$work/DemoList.txt"; then echo "the export holds carriage returns"; exit 1; fi
tail -n +3 "$work/DemoList.txt" > "$work/export-body.txt"
cmp -s "$work/export-body.txt" "$expected" ||
  { echo "the export differs from the reviewed file"; diff "$expected" "$work/export-body.txt" | head -20; exit 1; }
[ -s "$work/DemoList.pdf" ] || { echo "no PDF"; exit 1; }
pages=$(pdfinfo "$work/DemoList.pdf" | sed -n 's/^Pages: *//p')
[ "${pages:-0}" -ge 5 ] || { echo "the PDF has ${pages:-no} pages"; exit 1; }
# The printer's file, named after the document's, the only one there.
[ "$(ls -A "$work/documents")" = "$stem.QzB objects.pdf" ] ||
  { echo "the printer's file: $(ls -A "$work/documents")"; exit 1; }
[ "$(pdfinfo "$work/documents/$stem.QzB objects.pdf" | sed -n 's/^Pages: *//p')" = "$pages" ] ||
  { echo "the printer's file differs from the one saved"; exit 1; }
for ((n = 1; n <= pages; n++)); do
  pdftotext -f $n -l $n "$work/DemoList.pdf" - | grep -q "Page $n\$" || { echo "page $n has no footer"; exit 1; }
done
# The first page as a 72-dpi image for the checker.
pdftoppm -r 72 -f 1 -l 1 -png -singlefile "$work/DemoList.pdf" "$work/page1" ||
  { echo "the PDF's first page cannot be drawn"; exit 1; }
for shot in menubar menu strings style page1; do
  [ -s "$work/$shot.png" ] || { echo "no screenshot $shot.png"; exit 1; }
done
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_OUTPUT_RUN="$work" QZ_DEMO_STRUCTURE="$work/original/$stem.QzB" \
  "$checker" --gtest_filter='OutputScreens.*' > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 2 tests' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the checker did not run"; exit 1; }
