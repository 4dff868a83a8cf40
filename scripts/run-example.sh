#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the bundled bay example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
out=build/example-run
rm -rf "$out" && mkdir -p "$out"
# The start folder as an installation fills it: the version file the figures print.
cp build/start-folder/SYSVER.DAT "$out/"
if [ -x build/bin/wave_road ]; then
  # The whole calculation road: project -> depth mesh -> solver -> results at the output
  # points -> the wave-height figure as a plot file and as ROAD.pdf.
  (cd "$out" && ../bin/wave_road ../../examples/bay/BAY/BAY.TIK)
  if [ -f "$out/ROAD.pdf" ]; then echo "Figure: $out/ROAD.pdf"; fi
else
  # The solver alone on the prepared input of the bay.
  cp examples/bay/BAY.CAL "$out/"
  (cd "$out" && ../bin/tydsolv_run BAY.CAL)
fi
echo "Results are in $out/"
