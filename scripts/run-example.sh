#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the bundled bay example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
out=build/example-run
rm -rf "$out" && mkdir -p "$out"
if [ -x build/bin/wave_road ]; then
  # The whole calculation road: project -> depth mesh -> solver -> results at the output points.
  (cd "$out" && ../bin/wave_road ../../examples/bay/BAY/BAY.TIK)
else
  # The solver alone on the prepared input of the bay.
  cp examples/bay/BAY.CAL "$out/"
  (cd "$out" && ../bin/tydsolv_run BAY.CAL)
fi
echo "Results are in $out/"
