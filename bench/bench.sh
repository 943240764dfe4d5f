#!/bin/bash
# Reports the size of updater.exe, the DLLs it imports, and its time from
# start to exit on the missing-settings-file case against a trivial Win32
# program built the same way, both run under Wine in the same prefix
# (medians of interleaved runs). Targets: 64 KiB, system DLLs only, 1.2x.
set -eu
cd "$(dirname "$0")/.."
RUNS=${RUNS:-15}
bash tools/install-deps.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target updater bench_trivial boxdriver >/dev/null
BIN=build/windows

size=$(stat -c %s "$BIN/updater.exe")
dlls=$(i686-w64-mingw32-objdump -p "$BIN/updater.exe" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')
echo "updater.exe: $size bytes ($((size / 1024)) KiB; target 64 KiB)"
echo "imports: $dlls"
system="ADVAPI32.dll KERNEL32.dll msvcrt.dll ole32.dll SHELL32.dll USER32.dll"
for d in $dlls; do
  case " $system " in *" $d "*) ;; *) echo "  not a system DLL: $d" ;; esac
done

# No display: the error box fails at once in both programs, so the time is
# start-up, the work before the box, and exit.
export WINEPREFIX="$PWD/build/bench-prefix" WINEDEBUG=-all
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
if [ ! -d "$WINEPREFIX/drive_c/windows" ]; then
  timeout 300 wineboot -i >/dev/null 2>&1
fi
setsid wineserver -p </dev/null >/dev/null 2>&1 || true
dir="$WINEPREFIX/drive_c/bench"
rm -rf "$dir"; mkdir -p "$dir"
cp "$BIN/updater.exe" "$BIN/bench_trivial.exe" "$BIN/tests/e2e/boxdriver.exe" "$dir/"

measure() {  # program -> one time in microseconds per line
  timeout 600 wine "C:\\bench\\boxdriver.exe" time "$RUNS" "C:\\bench\\$1" 2>/dev/null | tr -d '\r'
}
measure updater.exe >/dev/null   # warm-up
: >"$dir/u.txt"; : >"$dir/t.txt"
for _ in 1 2 3; do
  measure updater.exe >>"$dir/u.txt"
  measure bench_trivial.exe >>"$dir/t.txt"
done
timeout 30 wineserver -k 2>/dev/null || true

python3 - "$dir/u.txt" "$dir/t.txt" <<'PY'
import statistics, sys
u = [int(x) for x in open(sys.argv[1]).read().split()]
t = [int(x) for x in open(sys.argv[2]).read().split()]
mu, mt = statistics.median(u), statistics.median(t)
print("start to exit, median of %d runs: updater.exe %.1f ms, trivial %.1f ms, ratio %.2f (target 1.2)"
      % (len(u), mu / 1000, mt / 1000, mu / mt))
PY
