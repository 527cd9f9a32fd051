#!/usr/bin/env bash
# Times adding generated region layers of 10k, 50k and 200k cells with tolvane-addmap, and
# drawing each added map at 2000x1400 with tolvane-render, as whole processes: median wall
# time and peak memory of REPEATS runs.
# Usage: tools/mapimport/bench_addmap.sh [REPEATS] [SIZES...]
#   e.g. tools/mapimport/bench_addmap.sh 3 10000 50000
# Env:   BENCH_DIR  where the layers and the application folder go (default /tmp/addmap-bench)
#        BUILD      the build folder (default build/ of this repository)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
BUILD=${BUILD:-$REPO/build}
DIR=${BENCH_DIR:-/tmp/addmap-bench}
REPEATS=${1:-3}
shift || true
SIZES=${*:-10000 50000 200000}
mkdir -p "$DIR"

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# Runs a command REPEATS times; prints "median_seconds median_peak_MB".
timed() {
  local t m
  for _ in $(seq "$REPEATS"); do
    /usr/bin/time -f "%e %M" -o "$DIR/time.txt" "$@" >/dev/null 2>&1
    read -r t m <"$DIR/time.txt"
    echo "$t $m"
  done >"$DIR/runs.txt"
  echo "$(cut -d' ' -f1 "$DIR/runs.txt" | median) $(($(cut -d' ' -f2 "$DIR/runs.txt" | median) / 1024))"
}

printf '| regions | add: s | add: MB | movie MB | render: s | render: MB | render KB/region |\n'
printf '|---|---|---|---|---|---|---|\n'
for n in $SIZES; do
  layer="$DIR/cells$n.gpkg"
  [ -f "$layer" ] || "$HERE/make_bench_layer.py" "$n" "$layer"
  app="$DIR/app$n"
  rm -rf "$app" && mkdir -p "$app/data"
  # Each run adds the map once more (as "cells<n> 2", "cells<n> 3"...): the same work.
  read -r add_s add_mb <<<"$(timed "$BUILD/tolvane-addmap" --app-folder "$app" "$layer" \
    --title "cells$n")"
  movie_mb=$(( $(stat -c %s "$app/data/cells$n.map") / 1048576 ))
  read -r render_s render_mb <<<"$(timed "$BUILD/tolvane-render" "cells$n" --app-folder "$app" \
    --size 2000x1400 -o "$DIR/cells$n.png")"
  printf '| %s | %s | %s | %s | %s | %s | %s |\n' "$n" "$add_s" "$add_mb" "$movie_mb" \
    "$render_s" "$render_mb" "$((render_mb * 1024 / n))"
done
