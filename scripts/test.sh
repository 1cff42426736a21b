#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest. Extra arguments
# go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh "$@"
cd build
# Reads and writes keep restore points in the user's data folder: the tests' own go to a folder of
# the build, never into the home of whoever runs them.
export XDG_DATA_HOME="$PWD/test-data-home"
rm -rf "$XDG_DATA_HOME" && mkdir -p "$XDG_DATA_HOME"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300
