#!/usr/bin/env bash
# Installs what the project needs on Debian 12 (run as root). Does nothing when all is present.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl1-mesa-dev libqcustomplot-dev
  libhidapi-dev nlohmann-json3-dev libsimpleini-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdg-utils
  clang libclang-rt-14-dev
  dpkg-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
