#!/usr/bin/env bash
# Builds the libFuzzer programs (clang, ASan + UBSan) in build-fuzz/ and runs one target.
#
#   scripts/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
#   scripts/fuzz.sh --list
#
# TARGET is a file name of fuzz/targets/ without ".cpp" (chart_file, map_movie,
# render_scene, ...). The corpus lives in build-fuzz/corpus/TARGET, seeded from
# fuzz/seeds/TARGET, fuzz/crashers/TARGET and the shipped data and test files; inputs that
# break the program are written to build-fuzz/artifacts/TARGET/. Keep each one (minimised
# with -minimize_crash=1) in fuzz/crashers/TARGET/ with the fix: the test suite replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$ROOT/build-fuzz

if [ "${1:-}" = "--list" ]; then
  ls fuzz/targets | sed 's/\.cpp$//'
  exit 0
fi
TARGET=${1:?usage: scripts/fuzz.sh TARGET [SECONDS] [libFuzzer options...]}
SECONDS_TO_RUN=${2:-60}
shift $(( $# >= 2 ? 2 : 1 ))
[ -f "fuzz/targets/$TARGET.cpp" ] || { echo "no fuzz target $TARGET (see --list)" >&2; exit 2; }

scripts/setup.sh
CLANG_CXX=$(command -v clang++-14 || command -v clang++)
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="$CLANG_CXX" -DTOLVANE_FUZZ=ON >/dev/null
cmake --build "$BUILD" --target "fuzz_$TARGET"

# Seeds: the kept inputs, then every shipped and test file the target reads.
CORPUS=$BUILD/corpus/$TARGET
ARTIFACTS=$BUILD/artifacts/$TARGET
mkdir -p "$CORPUS" "$ARTIFACTS"
seed() { for f in "$@"; do [ -f "$f" ] && cp -n "$f" "$CORPUS/seed-$(basename "$f")"; done; true; }
# The smaller maps: a large one costs a hundred small runs and teaches the fuzzer no more.
small_maps() { for f in data/*.map; do [ "$(stat -c %s "$f")" -lt 40000 ] && seed "$f"; done; true; }
seed fuzz/seeds/"$TARGET"/* fuzz/crashers/"$TARGET"/*
case "$TARGET" in
  chart_file)   seed data/*.xml tests/render/data/*.xml ;;
  map_movie)    seed data/*.cht tests/render/data/*.map; small_maps ;;
  render_scene) seed fuzz/seeds/*/* tests/render/data/*.map; small_maps ;;
  text_import)  seed tests/io/data/*.csv ;;
  sheet_xlsx)   seed tests/io/data/*sample*.xlsx tests/io/data/roundtrip*.xlsx ;;
  sheet_ods)    seed tests/io/data/*sample*.ods tests/io/data/roundtrip*.ods ;;
  sheet_xls)    seed tests/io/data/*sample*.xls tests/io/data/roundtrip*.xls ;;
esac

DICT=()
[ -f "fuzz/$TARGET.dict" ] && DICT=(-dict="fuzz/$TARGET.dict")
ASAN_DEFAULT=detect_leaks=1:allocator_may_return_null=0
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/fuzz/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
run() {
  "$BUILD/fuzz/fuzz_$TARGET" "$CORPUS" -rss_limit_mb=2048 -timeout=20 -max_len=1000000 \
    -print_final_stats=1 -artifact_prefix="$ARTIFACTS/" "${DICT[@]}" "$@"
}
if [ "$TARGET" != sheet_xls ]; then
  export ASAN_OPTIONS=${ASAN_OPTIONS:-$ASAN_DEFAULT}
  run -max_total_time="$SECONDS_TO_RUN" "$@"
  exit
fi
# The .xls target: FreeXL loses up to half a megabyte on some damaged workbooks, which in
# one long process adds up to the memory limit, so it runs in processes of a minute each
# that start afresh. Its losses (and libgsf's) show only with full stacks, which cost ten
# times the runs, so leaks are not looked for here: the test suite replays every kept input
# under the leak checker (scripts/sanitize.sh).
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=0}
END=$((SECONDS + SECONDS_TO_RUN))
# Those losses can still fill a process's memory: the input it stopped on is kept (oom-*)
# and the next process goes on. Anything else stops the run.
while [ "$SECONDS" -lt "$END" ]; do
  status=0
  run -detect_leaks=0 -rss_limit_mb=8192 -max_total_time=$((END - SECONDS < 60 ? END - SECONDS : 60)) "$@" || status=$?
  [ "$status" -eq 0 ] && continue
  case "$(ls -t "$ARTIFACTS" 2>/dev/null | head -1)" in
    oom-*) echo "fuzz.sh: out of memory (FreeXL's losses); going on in a new process" >&2 ;;
    *) exit "$status" ;;
  esac
done
