#!/usr/bin/env bash
# Installs the Debian 12 packages Tolvane needs to build, test and run, skipping those present.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev
  libfreexl-dev libgsf-1-dev libxlsxwriter-dev libzip-dev zlib1g-dev libisal-dev libdeflate-dev libpng-dev
  libgdal-dev
  fonts-dejavu-core xdg-utils
  file
  clang-14 libclang-rt-14-dev
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
