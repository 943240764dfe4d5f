#!/bin/bash
# Builds updater.exe and runs it under Wine on the bundled example in
# examples/, printing every box it shows and the files it leaves.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target updater boxdriver
export WINEPREFIX="$PWD/build/example-prefix"
bash tests/e2e/wine-prefix.sh setup
trap 'bash tests/e2e/wine-prefix.sh cleanup' EXIT
python3 tools/run_example.py
