#!/bin/bash
# Times start-up against the size of [DEFINE]: the core's own start-up code
# (the symbol table loaded and expanded, then one value naming every symbol
# read) on the fake platform, in an optimised build without sanitizers, for
# 1,000 to 16,000 symbol lines. Prints each size's fastest run and the
# growth from 1,000 to 16,000 lines: 16x or less means start-up grows no
# faster than the file.
#   bash bench/define-bench.sh [RUNS]        (5 runs per size by default)
set -eu
cd "$(dirname "$0")/.."
dir="build${UPDATER_BUILD_SUFFIX:-}/bench-host"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DUPDATER_SANITIZE=OFF \
  -DUPDATER_TESTS=OFF >/dev/null
cmake --build "$dir" --target define_bench -j2 >/dev/null
"$dir/define_bench" "${1:-5}"
