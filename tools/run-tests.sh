#!/bin/bash
# Builds every build and runs every test: the host unit and contract tests
# under the sanitizers; the static checks of both Windows executables; the
# contract and end-to-end tests of each Windows build under the Wine of its
# width, where this machine can run it (the 64-bit build everywhere, the
# 32-bit one where the kernel runs 32-bit programs; the others are reported
# as skipped). UPDATER_WINE_64_ONLY=1 takes the 64-bit-only route anywhere.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
. tools/wine-env.sh

for preset in host windows windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

wine_can_run 32 || wine_skip_line 32
status=0
for preset in host windows windows-x64; do
  ctest --preset "$preset" || status=1
done
exit $status
