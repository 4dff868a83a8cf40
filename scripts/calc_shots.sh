#!/bin/sh
# Pictures of a calculation on the example bay under a virtual display: a new calculation,
# the wave conditions, the area dragged with the mouse, the depths, the solver, the
# results as colour map, contours and wave-height map, and the figure printed to PDF.
#   scripts/calc_shots.sh [OUTDIR] [BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/build/calc_shots}
build=${2:-$here/build}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Settings, locks and working files stay in the scratch folder, never the user's.
mkdir -m 700 -p "$work/runtime" "$work/config" "$work/start"
cp -r "$here/examples/bay/BAY" "$work/BAY"
cp "$build/start-folder/SYSVER.DAT" "$work/start/SYSVER.DAT"
mkdir -p "$work/config/KTR Applications"
printf '[Position]\nTreeDlgTop=40\nTreeDlgLeft=1120\n' > "$work/config/KTR Applications/Wavora.ini"
cd "$work/start"
XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
    xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$build/bin/wavora_calc_shots" "$work/BAY/BAY.TIK" "$out"
echo "saved in $out"
