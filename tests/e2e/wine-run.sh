#!/bin/bash
# Runs a Windows program in the test Wine prefix: the Wine of this build's
# width, Japanese locale (ANSI code page 932), the prefix's Xvfb display, and
# a time limit. Exits with 77 (skipped) where that Wine cannot run here.
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/wine-env.sh"
arch=${UPDATER_WINE_ARCH:?UPDATER_WINE_ARCH must be 32 or 64}
if ! wine_can_run "$arch"; then
  wine_skip_line "$arch"
  exit 77
fi
wine_use "$arch"
if [ -f "$WINEPREFIX/.display" ]; then
  DISPLAY=$(cat "$WINEPREFIX/.display")
  export DISPLAY
fi
exec timeout -k 5 "${WINE_RUN_TIMEOUT:-120}" "$WINELOADER" "$@"
