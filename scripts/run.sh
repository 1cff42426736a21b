#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: the command-line tool on the demo data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build/bin/korvath-cli declarations build/bin/PID2/3/generic.init
