#!/bin/bash
# Test fixture: "setup" makes a fresh Wine prefix for this build's width
# (UPDATER_WINE_ARCH), starts an Xvfb display and a persistent wineserver for
# it; "cleanup" stops both. Exits with 77 (skipped) where that Wine cannot run.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/wine-env.sh"
wine_require_build_arch
wine_use "$WINE_ARCH"

stop() {
  if [ -f "$WINEPREFIX/.display" ]; then
    DISPLAY=$(cat "$WINEPREFIX/.display") timeout 20 "$WINESERVER" -k >/dev/null 2>&1
  fi
  if [ -f "$WINEPREFIX/.xvfb.pid" ]; then
    kill "$(cat "$WINEPREFIX/.xvfb.pid")" 2>/dev/null
    rm -f "$WINEPREFIX/.xvfb.pid"
  fi
}

case "${1:-}" in
  setup)
    stop
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # A display of our own: Xvfb picks a free number itself and writes it
    # to a file (-displayfd), so prefixes set up side by side never share
    # one. Started detached, its output away from ctest's pipes, which it
    # would otherwise keep open.
    rm -f "$WINEPREFIX/.display"
    setsid sh -c 'exec Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1"' \
      sh "$WINEPREFIX/.display.new" </dev/null >/dev/null 2>&1 &
    echo $! >"$WINEPREFIX/.xvfb.pid"
    n=""
    for _ in $(seq 100); do
      n=$(tr -dc 0-9 2>/dev/null <"$WINEPREFIX/.display.new")
      [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start"; exit 1; }
    echo ":$n" >"$WINEPREFIX/.display"
    export DISPLAY=":$n"
    # A persistent server keeps every later wine call fast.
    setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 &
    # A 64-bit prefix reports one failure for the 32-bit rundll32.exe that a
    # machine without wine32 lacks; the prefix is made all the same.
    timeout 300 $WINE_START "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1
    [ -d "$WINEPREFIX/drive_c/windows" ] || { echo "wineboot failed"; exit 1; }
    # Without a window manager, Wine waits about two seconds for each managed
    # window to be withdrawn when it closes; unmanaged boxes close at once.
    timeout 60 $WINE_START "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
      </dev/null >/dev/null 2>&1 || { echo "wine reg add failed"; exit 1; }
    echo "$WINE_ARCH-bit prefix ready on display :$n"
    ;;
  cleanup)
    stop
    ;;
  *)
    echo "usage: $0 setup|cleanup" >&2
    exit 2
    ;;
esac
