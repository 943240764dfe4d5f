#!/bin/bash
# Builds both builds from scratch and runs every test: the host unit and
# contract tests under the sanitizers, then the contract and end-to-end tests
# of the Windows build under Wine.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

cmake --preset host >/dev/null
cmake --build --preset host
cmake --preset windows >/dev/null
cmake --build --preset windows

status=0
ctest --preset host || status=1
ctest --preset windows || status=1
exit $status
