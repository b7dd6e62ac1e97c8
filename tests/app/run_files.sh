#!/usr/bin/env bash
# Documents' files as a user handles them, one row a run on copies of the
# demo: what cannot be done is said in the program's words, what can is
# done without a word, and no file changes but where the row's check says.
# Each script ends without
# quitting: the run ends over the alert it names (status 4), or waiting
# with no alert up (status 3).
#   run_files.sh PROGRAM WORK DEMO
set -u
program=$1 work=$2 demo=$3
rm -rf "$work" && mkdir -p "$work"
[ -s "$demo" ] || { echo "no demo structure at $demo"; exit 1; }
stem=Demo from=$(dirname "$demo")
long=$(printf 'n%.0s' $(seq 1 251))
menu() { printf 'press 60 10\\nmove 80 %d\\nwait 2\\nrelease\\nwait 60\\nidle' $((32 + 19 * ($1 - 1))); }
new_library=$(menu 1) save=$(menu 10) print_list=$(menu 14)

# name | arguments (DIR: the row's folder) | script after the reading | the alert's text, or none
# | the check of a row that changes files (run in DIR)
rows="
companion|DIR/Demo.RSR||The file Demo.RSR is the companion file of the document Demo.QzB: open
beside||$new_library\nanswer DIR/Demo.QTL\n$save|This name would take over the companion file of \"Demo.QzB\"
over-open|DIR/Demo.QzB|$new_library\nanswer DIR/Demo.QzB\n$save|A document open in the program, or its working file, is at this place
long-name|DIR/$long.QzB||
mistyped|DIR/Dmeo.QzB||There is no file named \"Dmeo.QzB\" in the folder
linked|DIR/link/Demo.QzB||
save-over-link||$new_library\nanswer DIR/link/Demo.QzB\n$save||[ -L link/Demo.QzB ] && [ -L link/Demo.RSR ] && ! cmp -s Demo.QzB $from/Demo.QzB
shared-companion|DIR/Demo.QTL||The documents Demo.QTL and Demo.QzB share one companion file
lock-folder|DIR/Demo.QzB||Something other than a file (a folder, a link or a special file) has the name
companion-read-only|DIR/Demo.QzB||The companion file \"Demo.RSR\" of this document may not be written
print-pdf-cancelled|DIR/Demo.QzB|$print_list\nchoose 1\nwait 60\nidle\nchoose 3\nwait 60\nidle\nanswer cancel\nwait 60\nidle\nchoose 2\nwait 60\nidle|
"

failures=0
while IFS='|' read -r name args steps text check; do
  [ -n "$name" ] || continue
  dir="$work/$name"
  mkdir -p "$dir/prefs"
  cp "$from/$stem.QzB" "$from/$stem.RSR" "$from/._$stem.QzB" "$from/._$stem.RSR" "$dir/"
  case $name in
    long-name) mv "$dir/Demo.QzB" "$dir/$long.QzB" && mv "$dir/Demo.RSR" "$dir/$long.RSR" && rm "$dir"/._* ;;
    linked) mkdir "$dir/link" && ln -s "$dir/Demo.QzB" "$dir/link/Demo.QzB" ;;
    save-over-link) mkdir "$dir/link" && ln -s ../Demo.QzB "$dir/link/Demo.QzB" && ln -s ../Demo.RSR "$dir/link/Demo.RSR" ;;
    # A library copied in by hand beside the structure of its name.
    shared-companion) cp "$dir/Demo.QzB" "$dir/Demo.QTL" ;;
    lock-folder) mkdir "$dir/.qz.Demo.RSR.lock" ;;
    companion-read-only) chmod a-w "$dir/Demo.RSR" ;;
  esac
  before=$(cd "$dir" && find . -path ./prefs -prune -o -type f -print0 | sort -z | xargs -0 sha1sum)
  printf 'idle\nwait 600\nidle\n%b\n' "${steps//DIR/$dir}" > "$dir/script.txt"
  read -ra argv <<< "${args//DIR/$dir}"
  (cd "$dir" && QZ_PREFERENCES_DIR="$dir/prefs" QZ_SCRIPT="$dir/script.txt" timeout 60 "$program" "${argv[@]}") \
    > "$dir/stderr.txt" 2>&1
  status=$?
  after=$(cd "$dir" && find . -path ./prefs -prune -o -type f ! -name script.txt ! -name stderr.txt -print0 |
          sort -z | xargs -0 sha1sum)
  said=$(grep -o 'in the alert [0-9]* ".*' "$dir/stderr.txt")
  expected=3 && [ -n "$text" ] && expected=4
  if [ "$status" -ne "$expected" ] || grep -Eq 'runtime error|Sanitizer' "$dir/stderr.txt" ||
     { [ -n "$text" ] && [[ $said != *"$text"* ]]; } || { [ -z "$text" ] && [ -n "$said" ]; }; then
    echo "$name: status $status, or not said: ${text:-(no alert)}"; cat "$dir/stderr.txt"; failures=$((failures + 1))
  elif [ -n "$check" ]; then
    (cd "$dir" && eval "$check") || { echo "$name: not as checked: $check"; failures=$((failures + 1)); }
  elif [ "$before" != "$after" ]; then
    echo "$name: files changed:"; diff <(echo "$before") <(echo "$after"); failures=$((failures + 1))
  fi
done <<< "$rows"
[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
exit 0
