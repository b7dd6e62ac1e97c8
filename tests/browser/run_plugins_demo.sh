#!/usr/bin/env bash
# The demo run of run_screens_check.sh with "Demo Tools.plugin" in the
# plug-in folder of a scratch extensions folder (location 0), which holds
# the build's extension files; the program and the checker both look there.
#   run_plugins_demo.sh PROGRAM SCRIPT WORK DEMO CHECKER
set -u
program=$1 script=$2 work=$3 demo=$4 checker=$5
from=$(dirname "$demo") build=$(dirname "$program")
rm -rf "$work-app"
extensions="$work-app/Qz Extensions"
mkdir -p "$extensions/Plugins"
cp -r "$build/Qz Extensions/." "$extensions/"
cp "$from/Demo Tools.plugin" "$from/._Demo Tools.plugin" "$extensions/Plugins/" ||
  { echo "no plug-in file beside the demo"; exit 1; }
export QZ_EXTENSIONS_DIR="$extensions"
exec "$(dirname "$0")/run_screens_check.sh" "$program" "$script" "$work" "$demo" "$checker" \
  PlugInScreens QZ_PLUGIN_SCREENS packages routine
