#!/usr/bin/env bash
# scripts/mutate --rerun with no results to run again (none kept yet, or a
# file that holds none) ends with status 1 and one sentence saying so.
set -u
source=$1 work=$2
rm -rf "$work" && mkdir -p "$work"
printf '{' > "$work/cut.json"
printf '{"results": [{"outcome": "survived"}]}' > "$work/other.json"
for results in "$work/none.json" "$work/cut.json" "$work/other.json"; do
  python3 "$source/scripts/mutate" --rerun "$results" > "$work/stdout.txt" 2> "$work/stderr.txt"
  status=$?
  lines=$(wc -l < "$work/stderr.txt")
  if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q '^mutate: ' "$work/stderr.txt" ||
     ! grep -qF "$results" "$work/stderr.txt"; then
    echo "--rerun $results: status $status, and not one sentence naming it:"; cat "$work/stderr.txt"; exit 1
  fi
done
exit 0
