#!/usr/bin/env bash
# Crash safety: kills the load, make and save steps (tools/killtest) with SIGKILL at random
# moments, again and again, and checks after every kill that each file on disk is a whole
# version of itself: the old one or the new one, never a mix or a truncation.
#
#   scripts/killtest.sh [--kills N] [--map MAP] [--driver PATH] [--max-delay-ms MS]
#
# Defaults: 1000 kills of a Germany chart, the driver in build/ (built when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
KILLS=1000 MAP=Germany DRIVER="" MAX_DELAY_MS=1000
while [ $# -gt 0 ]; do
  case "$1" in
    --kills) KILLS=$2; shift 2 ;;
    --map) MAP=$2; shift 2 ;;
    --driver) DRIVER=$2; shift 2 ;;
    --max-delay-ms) MAX_DELAY_MS=$2; shift 2 ;;
    *) echo "usage: $0 [--kills N] [--map MAP] [--driver PATH] [--max-delay-ms MS]" >&2; exit 2 ;;
  esac
done
if [ -z "$DRIVER" ]; then
  scripts/build.sh tolvane-kill-driver >/dev/null
  DRIVER=build/tolvane-kill-driver
fi
export QT_QPA_PLATFORM=offscreen

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fresh() { rm -rf "$1"; mkdir -p "$1/data"; cp "data/$MAP.xml" "data/$MAP.map" "$1/data/"; }
run() { "$DRIVER" "$@" 2>/dev/null; }

# The versions each file may have: the shipped chart (O), the chart made with version A or
# B of the values, and the picture of each.
REF=$WORK/ref
mkdir -p "$REF"
fresh "$WORK/r"; run "$WORK/r" "$MAP" 0
cp "$WORK/r/data/$MAP.xml" "$REF/chart.O"; cp "$WORK/r/data/province.xml" "$REF/staged.O"
cp "$WORK/r/data/$MAP.map" "$REF/movie"
for v in A B; do
  fresh "$WORK/r"; run "$WORK/r" "$MAP" $([ $v = A ] && echo 1 || echo 2)
  cp "$WORK/r/data/$MAP.xml" "$REF/chart.$v"; cp "$WORK/r/data/province.xml" "$REF/staged.$v"
  cp "$WORK/r/chart.png" "$REF/picture.$v"
done
# From version B, the next make gives version A again, byte for byte.
run "$WORK/r" "$MAP" 1
cmp -s "$WORK/r/data/$MAP.xml" "$REF/chart.A" || { echo "version A is not reproducible" >&2; exit 1; }
cmp -s "$REF/chart.A" "$REF/chart.B" && { echo "versions A and B do not differ" >&2; exit 1; }

declare -A SEEN
BROKEN=0 TEMPS=0
# Which version a file is: a name from the list, "absent", or "BROKEN".
version() {
  local file=$1; shift
  [ -e "$file" ] || { echo absent; return; }
  for ref in "$@"; do cmp -s "$file" "$REF/$ref" && { echo "$ref"; return; }; done
  echo BROKEN
}

APP=$WORK/app
fresh "$APP"
for ((k = 1; k <= KILLS; k++)); do
  "$DRIVER" "$APP" "$MAP" 2>/dev/null &
  pid=$!
  delay=$(( (RANDOM * 32768 + RANDOM) % MAX_DELAY_MS ))
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true

  for entry in "chart:$APP/data/$MAP.xml:chart.O chart.A chart.B" \
               "staged:$APP/data/province.xml:staged.O staged.A staged.B" \
               "movie:$APP/data/cmap.map:movie" \
               "picture:$APP/chart.png:picture.A picture.B"; do
    IFS=: read -r name path refs <<<"$entry"
    # shellcheck disable=SC2086
    v=$(version "$path" $refs)
    [ "$name:$v" = "chart:absent" ] && v=BROKEN
    SEEN[$name:$v]=$(( ${SEEN[$name:$v]:-0} + 1 ))
    if [ "$v" = BROKEN ]; then
      BROKEN=$((BROKEN + 1))
      echo "kill $k after ${delay} ms: $path is no whole version" >&2
      cp "$path" "$WORK/../tolvane-killtest-broken-$name-$k" 2>/dev/null || true
    fi
  done
  # Temporary files of writes the kill cut short: the targets were never touched.
  left=$(find "$APP" -name '*.??????' | wc -l)
  [ "$left" -gt 0 ] && TEMPS=$((TEMPS + 1))
  find "$APP" -name '*.??????' -delete
done

echo "kills: $KILLS (random moments within ${MAX_DELAY_MS} ms of start)"
echo "kills that cut a write short (temporary file left): $TEMPS"
for key in $(printf '%s\n' "${!SEEN[@]}" | sort); do echo "  $key: ${SEEN[$key]}"; done
echo "files found broken: $BROKEN"
[ "$BROKEN" -eq 0 ]
