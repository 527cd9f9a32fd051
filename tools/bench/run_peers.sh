#!/usr/bin/env bash
# Times tolvane-render against the peer renderers of the shared benchmark, in one run.
# Usage: tools/bench/run_peers.sh [REPEATS]
# Env:   BENCH_SRC   the shared benchmark folder (default ../shared/bench beside this repository)
#        BENCH_DIR   the working copy (default /tmp/bench); prepared on first use
#        RENDER      the renderer (default build/tolvane-render of this repository)
#        PROBE       the bare-QPainter peer (default build/tolvane-qpainter-probe, built if missing)
#        BEFORE      another build's renderer, timed in the same run as the peer "before"
#        PEERS, CASES, BUDGET_S as for the benchmark's own run.sh (the probe is always added)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
BENCH_SRC=${BENCH_SRC:-$REPO/../shared/bench}
BENCH_DIR=${BENCH_DIR:-/tmp/bench}
RENDER=${RENDER:-$REPO/build/tolvane-render}
PROBE=${PROBE:-$REPO/build/tolvane-qpainter-probe}
[ -x "$RENDER" ] || { echo "no renderer at $RENDER (build first, or set RENDER)" >&2; exit 2; }
[ -x "$PROBE" ] || cmake --build "$(dirname "$PROBE")" --target tolvane-qpainter-probe >/dev/null

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

# The benchmark's runner knows its own peers; a copy of it learns "qpainter" (and "before").
render_cmd() { # $1 renderer, $2 case, $3 picture: the command line
  local timing=""
  "$1" --help | grep -q -- --timing && timing=" --timing"
  echo "$1 bench_$2 --app-folder $APP --size 2000x1400 -o $3$timing"
}
extra="    qpainter)  CMD=(\"$PROBE\" \"\$d.bin\" \"\$d.view.json\" \"\$o.png\") ;;\n"
[ -z "${BEFORE:-}" ] ||
  extra+="    before)    CMD=(bash -c \"exec $(render_cmd "$BEFORE" '$2' '$o.png')\") ;;\n"
sed "s|^    project) |$extra&|" run.sh >run_with_probe.sh
grep -q '^    qpainter)' run_with_probe.sh || { echo "run.sh changed: cannot add the probe" >&2; exit 2; }
export PEERS="qpainter ${BEFORE:+before }${PEERS:-cairo mapnik geopandas gdal}"
PROJECT_CMD=$(render_cmd "$RENDER" '{case}' '{png}') bash run_with_probe.sh "${1:-9}"
# Tolvane's time against the bare Qt program and against Mapnik, case by case.
RAW=$(ls -d results/*/ | tail -1)raw.tsv
for ref in qpainter mapnik before; do
  case " $PEERS " in *" $ref "*) /usr/bin/python3 tools/summarize.py "$RAW" "$ref" |
    awk -v ref="$ref" '/^## /{c=$2} /^\| project /{print "project / " ref " on " c ": " $9}' ;; esac
done
