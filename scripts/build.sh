#!/usr/bin/env bash
# Configures and builds Tolvane in ./build (after installing what is missing).
# Targets may be named (e.g. "tolvane appfolder"); without any, everything is built.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
if [ $# -gt 0 ]; then
  cmake --build build --target "$@"
else
  cmake --build build
fi
