#!/usr/bin/env bash
# Runs the program on the demo structure: selects a method by typing its
# name, previews one it calls, selects two forms stored as chunk files;
# then the checker reads the screenshots row by row (the main list, then
# the cross-reference panes) and the preview's first line of text.
program=$1 scripts=$2 work=$3 demo=$4 checker=$5
exec "$(dirname "$0")/run_screens_check.sh" "$program" "$scripts/demo_select.txt" "$work" "$demo" "$checker" \
  DemoScreens QZ_DEMO_SCREENS opened selected preview form card
