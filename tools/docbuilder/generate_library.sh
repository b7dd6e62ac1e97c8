#!/usr/bin/env bash
# A component library of the demo, made by the program itself: the program
# runs headless on a copy of a structure and its script generates a
# component project into a library, as a user does from the Components
# menu. The library and its companion are copied to the output folder.
#   generate_library.sh PROGRAM SCRIPT STRUCTURE LIBRARY_NAME OUTPUT_FOLDER
# The script names the library's place as WORK/LIBRARY_NAME.
set -u
program=$1 script=$2 structure=$3 library=$4 out=$5
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prefs" "$out" || exit 1
stem=$(basename "$structure" .QzB) from=$(dirname "$structure")
cp "$from/$stem".* "$work/" || exit 1
cp "$from/._$stem".* "$work/" 2>/dev/null
sed "s|WORK|$work|g" "$script" > "$work/script.txt" || exit 1
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/script.txt" "$program" "$work/$stem.QzB") \
  > "$work/log.txt" 2>&1
status=$?
if [ "$status" -ne 0 ] || grep -Eq 'runtime error|Sanitizer' "$work/log.txt"; then
  cat "$work/log.txt" >&2
  echo "generating $library: the program ended with status $status" >&2
  exit 1
fi
[ -s "$work/$library" ] || { echo "generating $library: the program made no library" >&2; exit 1; }
companion="${library%.*}.RSR"
rm -f "$out/$library" "$out/$companion"
cp "$work/$library" "$out/$library" || exit 1
if [ -e "$work/$companion" ]; then cp "$work/$companion" "$out/$companion" || exit 1; fi
