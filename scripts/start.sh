#!/usr/bin/env bash
# Installs what is missing, builds and starts Tolvane.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh tolvane appfolder
exec build/tolvane "$@"
