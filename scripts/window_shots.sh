#!/bin/sh
# Pictures of the programs' windows under a virtual display, taken by their window tests
# on the real X platform: every menu of each window kind open (no document, project,
# calculation, split calculation), the Window menu listing two windows, the printer setup
# and the print preview, the tree and the result list where they dock, and the stock
# dialogs (message box, file dialog with its overwrite question, print dialog) of
# Wavora, Tydchain and Reliefscope in Japanese.
#   scripts/window_shots.sh [OUTDIR] [BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/build/window_shots}
build=${2:-$here/build}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for t in app_menu_tests app_placement_tests app_stock_dialogs_tests batch_stock_dialogs_tests \
         viewer_stock_dialogs_tests; do
    # Each test makes its own scratch folder (settings and locks in it) under this one.
    WAVORA_SHOT_DIR="$out" QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/$t" >"$work/$t.log" 2>&1 ||
        { echo "$t failed:"; tail -n 30 "$work/$t.log"; exit 1; }
done
echo "saved in $out"
