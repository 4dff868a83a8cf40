#!/usr/bin/env bash
# Configures and builds into build/ (incremental: fast when nothing changed).
set -euo pipefail
cd "$(dirname "$0")/.."
gen=()
command -v ninja >/dev/null && [ ! -f build/CMakeCache.txt ] && gen=(-G Ninja)
cmake -S . -B build "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build -j "$(nproc)"
