#!/usr/bin/env bash
# Builds the Debian package build/tolvane_<version>-<revision>_<arch>.deb (after installing
# what is missing). Install it with: sudo apt install ./build/tolvane_*.deb
# Arguments are passed to CMake, e.g. -DTOLVANE_WEB_ADDRESS=https://... for the about box.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build build --target tolvane tolvane-render tolvane-addmap manpages
rm -f build/tolvane_*.deb
(cd build && cpack -G DEB >/dev/null)
ls build/tolvane_*.deb
