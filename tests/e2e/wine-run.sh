#!/bin/bash
# Runs a Windows program in the test Wine prefix: the Wine of this build's
# width, the locale UPDATER_WINE_LOCALE (by default Japanese, ANSI code page
# 932), the prefix's Xvfb display, and a time limit (WINE_RUN_TIMEOUT
# seconds, 120 by default), past which the program is stopped and a line on
# standard error says so. Exits with the program's code, or 77 (skipped)
# where that Wine or that locale is not there.
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/wine-env.sh"
wine_require_build_arch
locale=${UPDATER_WINE_LOCALE:-ja_JP.UTF-8}
if ! wine_locale_installed "$locale"; then
  echo "the locale $locale is not installed (tools/install-deps.sh)"
  exit 77
fi
wine_use "$WINE_ARCH"
if [ -f "$WINEPREFIX/.display" ]; then
  DISPLAY=$(cat "$WINEPREFIX/.display")
  export DISPLAY
fi
limit=${WINE_RUN_TIMEOUT:-120}
timeout -k 5 "$limit" $WINE_START "$WINELOADER" "$@"
status=$?
# timeout answers 124 when it stopped the program, 137 when it had to kill it.
if [ "$status" = 124 ] || [ "$status" = 137 ]; then
  echo "wine-run.sh: $1 did not end within $limit s and was stopped" >&2
fi
exit "$status"
