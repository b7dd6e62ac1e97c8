#!/usr/bin/env bash
# scripts/mutate --rerun before any run kept results ends with status 1 and
# one sentence naming the file it looked for.
set -u
source=$1 work=$2
rm -rf "$work" && mkdir -p "$work"
python3 "$source/scripts/mutate" --rerun "$work/none.json" > /dev/null 2> "$work/said.txt"
status=$?
[ "$status" -eq 1 ] && [ "$(wc -l < "$work/said.txt")" -eq 1 ] && grep -qF "mutate: there are no results at $work/none.json" "$work/said.txt" ||
  { echo "--rerun: status $status, said:"; cat "$work/said.txt"; exit 1; }
