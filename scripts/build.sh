#!/usr/bin/env bash
# Configures and builds into build/ (Ninja). Extra arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-cache.sh
cmake -S . -B build -G Ninja "${launcher[@]}" "$@" > build-configure.log 2>&1 || { cat build-configure.log; exit 1; }
cmake --build build --parallel "$(nproc)"
