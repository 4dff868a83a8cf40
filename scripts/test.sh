#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the headless ones, then the GUI
# suite (label "gui": the real programs on an Xvfb of each test's own, driven by clicks and
# keys). A test that crashes prints its signal and the backtraces in the log.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
status=0
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 600 -LE gui || status=1
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 600 -L gui || status=1
exit "$status"
