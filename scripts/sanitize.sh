#!/usr/bin/env bash
# Builds the program and the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang) in build-asan/ and runs the suite there. Any finding
# fails the test that made it.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
scripts/setup.sh
CLANG_CXX=$(command -v clang++-14 || command -v clang++)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="$CLANG_CXX" -DTOLVANE_SANITIZE=ON >/dev/null
cmake --build build-asan --target tolvane_tests tolvane-render tolvane tolvane-addmap appfolder manpages
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$ROOT/fuzz/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-asan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
