#!/bin/bash
# Builds updater.exe and runs it under Wine on the bundled example in
# examples/, printing every box it shows and the files it leaves: the 32-bit
# executable where this machine runs 32-bit programs, the 64-bit one
# otherwise.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
. tools/wine-env.sh
if wine_can_run 32; then
  arch=32 preset=windows
else
  arch=64 preset=windows-x64
  wine_skip_line 32 | sed 's/Wine suites skipped/executable not used/'
fi
build="build${UPDATER_BUILD_SUFFIX:-}/$preset"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target updater boxdriver
echo "running the $arch-bit updater.exe ($build)"
export WINEPREFIX="$PWD/$build/example-prefix" UPDATER_WINE_ARCH=$arch
export UPDATER_BIN_DIR="$PWD/$build" BOXDRIVER="$PWD/$build/tests/e2e/boxdriver.exe"
bash tests/e2e/wine-prefix.sh setup
trap 'bash tests/e2e/wine-prefix.sh cleanup' EXIT
python3 tools/run_example.py
