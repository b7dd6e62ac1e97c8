#!/usr/bin/env bash
# scripts/mutate --rerun with no results to run again (none kept yet, or a
# file that holds none) ends with status 1 and one sentence naming the file.
set -u
source=$1 work=$2
rm -rf "$work" && mkdir -p "$work"
printf '{' > "$work/cut.json"
printf '{"results": [{"outcome": "survived"}]}' > "$work/other.json"
for results in "$work/none.json" "$work/cut.json" "$work/other.json"; do
  python3 "$source/scripts/mutate" --rerun "$results" > /dev/null 2> "$work/said.txt"
  status=$?
  [ "$status" -eq 1 ] && [ "$(wc -l < "$work/said.txt")" -eq 1 ] && grep -q "^mutate: .*$results" "$work/said.txt" ||
    { echo "--rerun $results: status $status, said:"; cat "$work/said.txt"; exit 1; }
done
exit 0
