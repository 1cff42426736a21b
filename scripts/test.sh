#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest. Extra arguments
# go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh "$@"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300
