#!/bin/bash
# Runs a Windows program in the test Wine prefix: Japanese locale (ANSI code
# page 932), the prefix's Xvfb display, and a time limit.
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$WINEPREFIX/.display" ]; then
  DISPLAY=$(cat "$WINEPREFIX/.display")
  export DISPLAY
fi
exec timeout -k 5 "${WINE_RUN_TIMEOUT:-120}" wine "$@"
