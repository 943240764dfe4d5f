#!/bin/bash
# Runs one end-to-end test module under the Wine of this build's width
# (UPDATER_WINE_ARCH); exits with 77, which CTest reports as skipped, where
# that Wine cannot run on this machine.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/wine-env.sh"
arch=${UPDATER_WINE_ARCH:?UPDATER_WINE_ARCH must be 32 or 64}
if ! wine_can_run "$arch"; then
  wine_skip_line "$arch"
  exit 77
fi
exec python3 -m unittest -v "$1"
