#!/bin/sh
# Pictures Wavora under a virtual display: opens the example project with the
# open-project command, chooses BAY1.TYD in the data-selection tree, opens the File menu
# and saves the screen as a PNG.
#   scripts/screenshot.sh [OUT.PNG] [BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/build/wavora.png}
build=${2:-$here/build}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Settings, locks and working files stay in the scratch folder, never the user's.
mkdir -m 700 -p "$work/runtime" "$work/config" "$work/start"
cp -r "$here/examples/bay/BAY" "$work/BAY"
cp "$build/start-folder/SYSVER.DAT" "$work/start/SYSVER.DAT"
# The tree window beside the main window rather than over its menus.
mkdir -p "$work/config/KTR Applications"
printf '[Position]\nTreeDlgTop=40\nTreeDlgLeft=1120\n' > "$work/config/KTR Applications/Wavora.ini"
cd "$work/start"
XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
    xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$build/bin/wavora_screenshot" "$work/BAY/BAY.TIK" BAY1.TYD "$out"
echo "saved $out"
