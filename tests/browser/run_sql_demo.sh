#!/usr/bin/env bash
# Runs the program with a fresh preferences folder, chooses "New Structure
# from SQL Script..." in the File menu, picks the demo's SQL script in the
# open dialog and names the new structure in the save dialog; checks that
# the run ends with status 0 and no sanitizer report, then has the checker
# read the new structure's main list on the screenshot and the report.
set -u
program=$1 work=$2 script=$3 checker=$4
rm -rf "$work" && mkdir -p "$work/prefs"
[ -s "$script" ] || { echo "no SQL script at $script"; exit 1; }
cp "$script" "$work/Demo.sql"
# The File menu's third item, once both dialogs have their answers queued;
# then the tables' triangles, from the last row up, open them.
cat > "$work/steps.txt" <<STEPS
move 1275 795
idle
answer $work/Demo.sql
answer $work/Made.QzB
press 61 10
move 90 70
release
wait 120
idle
click 24 107
wait 30
click 24 91
wait 30
click 24 75
wait 30
idle
move 1275 795
idle
screenshot sql.png
end
STEPS
(cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$work/steps.txt" "$program") 2> "$work/stderr.txt"
status=$?
cat "$work/stderr.txt" >&2
[ "$status" -eq 0 ] || { echo "SQL run: status $status"; exit 1; }
if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
  echo "SQL run: sanitizer report"
  exit 1
fi
[ -s "$work/Made.QzB" ] || { echo "no structure made"; exit 1; }
[ -s "$work/sql.png" ] || { echo "no screenshot sql.png"; exit 1; }
QZ_PREFERENCES_DIR="$work/check-prefs" QZ_SQL_SCREENS="$work" "$checker" --gtest_filter='SqlScreens.*' \
  > "$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
[ "$status" -eq 0 ] || exit 1
grep -q '^\[  PASSED  \] 1 test' "$work/check.txt" && ! grep -q SKIPPED "$work/check.txt" ||
  { echo "the screenshot checker did not run"; exit 1; }

# The same script in a folder whose name is not plain ASCII: the structure
# is made there and the report beside the script is the same.
run() {  # steps file, then a command to run the program under; its status
  local steps=$1
  shift
  (cd "$work" && QZ_PREFERENCES_DIR="$work/prefs" QZ_SCRIPT="$steps" "$@" "$program") 2> "$work/stderr.txt"
  local status=$?
  if grep -Eq 'runtime error|Sanitizer' "$work/stderr.txt"; then
    cat "$work/stderr.txt"
    echo "SQL run $steps: sanitizer report"
    exit 1
  fi
  return $status
}
steps() {  # the script to pick, the structure to name, the last line
  printf 'move 1275 795\nidle\nanswer %s\nanswer %s\npress 61 10\nmove 90 70\nrelease\nwait 120\nidle\n%s\n' "$@"
}
examples="$work/Příklady"
mkdir -p "$examples" && cp "$script" "$examples/Demo.sql"
steps "$examples/Demo.sql" "$examples/Made.QzB" end > "$work/examples.txt"
run "$work/examples.txt"
status=$?
[ "$status" -eq 0 ] || { cat "$work/stderr.txt"; echo "SQL run in $examples: status $status"; exit 1; }
[ -s "$examples/Made.QzB" ] || { echo "no structure made in $examples"; exit 1; }
cmp -s "$examples/Demo.sql.report.txt" "$work/Demo.sql.report.txt" || { echo "the report in $examples differs"; exit 1; }

# A script written as UTF-8 with accented names: the structure holds them
# in its own characters and the report names them as written.
printf 'CREATE TABLE Clients_\xc3\xa9 (Nom_\xc3\xa9 CHAR(10));\n' > "$work/Accents.sql"
steps "$work/Accents.sql" "$work/Accents.QzB" end > "$work/accents.txt"
run "$work/accents.txt"
status=$?
[ "$status" -eq 0 ] || { cat "$work/stderr.txt"; echo "SQL run of Accents.sql: status $status"; exit 1; }
printf 'Table Clients_\xc3\xa9\n          column Nom_\xc3\xa9\n' | cmp -s - "$work/Accents.sql.report.txt" ||
  { echo "the report of Accents.sql does not name its table and column as written"; exit 1; }
LC_ALL=C grep -q $'Clients_\x8e' "$work/Accents.QzB" || { echo "Accents.QzB holds no table Clients_é"; exit 1; }

# A script in a folder nobody may write: no report can be written, and the
# alert says why (the script ends while it is up). Root passes over file
# modes unless its rights to do so are set aside.
locked="$work/locked"
mkdir -p "$locked" && cp "$script" "$locked/Demo.sql" && chmod 555 "$locked"
drop=()
[ "$(id -u)" -eq 0 ] && drop=(setpriv --bounding-set=-dac_override,-dac_read_search)
steps "$locked/Demo.sql" "$work/Locked.QzB" "# the alert stays up" > "$work/locked.txt"
run "$work/locked.txt" "${drop[@]}"
status=$?
chmod 755 "$locked"
grep -q 'in the alert 1000 "You may not change this folder or file. Save in another place' "$work/stderr.txt" && [ "$status" -eq 4 ] ||
  { cat "$work/stderr.txt"; echo "SQL run in a locked folder: status $status, not the locked disk's alert"; exit 1; }
[ ! -e "$locked/Demo.sql.report.txt" ] && [ ! -e "$work/Locked.QzB" ] || { echo "the locked run wrote files"; exit 1; }
