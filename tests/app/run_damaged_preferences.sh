#!/usr/bin/env bash
# Whatever holds the preferences file's name, the demo opens with its
# objects listed: a file cut short, random bytes, an XML file, a folder, a
# sound file made read-only that another program holds for writing, or a
# file where the preferences folder should be. Each start's alert says what
# happened (a run whose script ends while it is up ends naming it); once it is
# answered the screen is the one of a start with fresh preferences. A file
# that does not read is set aside beside itself.
#   run_damaged_preferences.sh PROGRAM DEMO_FOLDER WORK
set -u
program=$1 demo=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
fail() { echo "$*"; exit 1; }
name="Qz Structure Browser Preferences"

# run DIR FIRST-STEPS [DOCUMENT]: the program in DIR, its preferences in DIR/prefs.
run() {
  local dir=$1 steps=$2
  shift 2
  printf '%b' "$steps" > "$dir/script.txt"
  (cd "$dir" && QZ_PREFERENCES_DIR="$dir/prefs" QZ_SCRIPT="$dir/script.txt" "$program" "$@" < /dev/null 2> "$dir/stderr.txt")
}
# A fresh copy of the demo, its path printed: always at one path, since the
# window's title shows it.
demo_in() {
  rm -rf "$work/doc" && mkdir -p "$work/doc" && cp "$demo"/Demo.* "$demo"/._Demo.* "$work/doc/" && echo "$work/doc/Demo.QzB"
}
shown='move 1275 795\nidle\nwait 600\nidle\nscreenshot shot.png\nend\n'

mkdir -p "$work/fresh/prefs"
run "$work/fresh" "$shown" "$(demo_in)" || fail "a fresh start: status $?"
sound="$work/fresh/prefs/$name"
[ -s "$sound" ] && [ -s "$work/fresh/shot.png" ] || fail "a fresh start left no preferences file or screen"

# case | how the preferences folder is made | the alert's first words (@FILE@
# the preferences file, @DIR@ its folder) | what is set aside
cases='
cut|head -c $(($(stat -c %s "$sound") - 10)) "$sound" > "$prefs/$name"|The preferences file could not be read. It is kept as "@FILE@ (damaged)"|file
noise|printf "\x13\x57\x9B\xDF\x02\x46" > "$prefs/$name"|The preferences file could not be read. It is kept as "@FILE@ (damaged)"|file
xml|echo "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict/></plist>" > "$prefs/$name"|The preferences file could not be read.|file
folder|mkdir -p "$prefs/$name/inside"|The preferences file could not be read.|folder
held|cp "$sound" "$prefs/$name" && chmod a-w "$prefs/$name"|The preferences file "@FILE@" cannot be written|
no-folder|rmdir "$prefs" && echo not a folder > "$prefs"|No preferences file can be kept in the folder "@DIR@"|
'
while IFS='|' read -r case make said aside; do
  [ -n "$case" ] || continue
  for answered in no yes; do
    dir="$work/$case-$answered" prefs="$work/$case-$answered/prefs"
    mkdir -p "$prefs"
    eval "$make" || fail "$case: cannot make the preferences"
    before=$(cat "$prefs/$name" 2>/dev/null | md5sum)
    # This shell holds the file's lock as a writer would: read-only is no bar to root.
    [ "$case" = held ] && { exec 9< "$prefs/$name" && flock -x 9 || fail "$case: cannot lock the file"; }
    if [ "$answered" = no ]; then
      run "$dir" 'idle\n'
      status=$?
      message=${said//@FILE@/$prefs/$name}
      message=${message//@DIR@/$prefs}
      # The run names a modal by the first 77 characters of its text.
      message="alert 1000 \"${message:0:77}"
      [ "$status" -eq 4 ] && grep -qF "$message" "$dir/stderr.txt" ||
        fail "$case: status $status, no alert \"$message\": $(cat "$dir/stderr.txt")"
    else
      run "$dir" "choose 1\\n$shown" "$(demo_in)" || fail "$case: status $?: $(cat "$dir/stderr.txt")"
      cmp -s "$dir/shot.png" "$work/fresh/shot.png" || fail "$case: the demo's window is not as with fresh preferences"
    fi
    [ "$case" = held ] && exec 9<&-
    case $aside in
      file) [ "$(md5sum < "$prefs/$name (damaged)")" = "$before" ] || fail "$case: not set aside whole" ;;
      folder) [ -d "$prefs/$name (damaged)/inside" ] || fail "$case: the folder was not set aside" ;;
      *) [ ! -e "$prefs/$name (damaged)" ] || fail "$case: set aside" ;;
    esac
  done
done <<< "$cases"
exit 0
