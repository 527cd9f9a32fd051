#!/usr/bin/env bash
# Times tolvane-render against the peer renderers of the shared benchmark, in one run.
# Usage: tools/bench/run_peers.sh [REPEATS]
# Env:   BENCH_SRC   the shared benchmark folder (default ../shared/bench beside this repository)
#        BENCH_DIR   the working copy (default /tmp/bench); prepared on first use
#        RENDER      the renderer (default build/tolvane-render of this repository)
#        PEERS, CASES, BUDGET_S as for the benchmark's own run.sh
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
BENCH_SRC=${BENCH_SRC:-$REPO/../shared/bench}
BENCH_DIR=${BENCH_DIR:-/tmp/bench}
RENDER=${RENDER:-$REPO/build/tolvane-render}
[ -x "$RENDER" ] || { echo "no renderer at $RENDER (build first, or set RENDER)" >&2; exit 2; }

if [ ! -d "$BENCH_DIR" ]; then
  cp -r "$BENCH_SRC" "$BENCH_DIR"
  chmod -R u+w "$BENCH_DIR"
fi
cd "$BENCH_DIR"
[ -x node_modules/.bin/mapshaper ] || npm ci --prefix "$PWD"
[ -f data/counties.bin ] || ./prep.sh >/dev/null

# Each case as a Tolvane map in an application folder of its own.
APP="$BENCH_DIR/tolvane"
for c in ${CASES:-states countries counties}; do
  [ "$APP/data/bench_$c.map" -nt "data/$c.geojson" ] ||
    node "$HERE/make_bench_map.mjs" "$BENCH_DIR" "$c" "$APP"
done

PROJECT_CMD="$RENDER bench_{case} --app-folder $APP --size 2000x1400 -o {png}" ./run.sh "${1:-9}"
