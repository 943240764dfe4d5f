#!/bin/bash
# Runs a Windows program in the test Wine prefix: the Wine of this build's
# width, Japanese locale (ANSI code page 932), the prefix's Xvfb display, and
# a time limit. Exits with 77 (skipped) where that Wine cannot run here.
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/wine-env.sh"
wine_require_build_arch
wine_use "$WINE_ARCH"
if [ -f "$WINEPREFIX/.display" ]; then
  DISPLAY=$(cat "$WINEPREFIX/.display")
  export DISPLAY
fi
exec timeout -k 5 "${WINE_RUN_TIMEOUT:-120}" "$WINELOADER" "$@"
