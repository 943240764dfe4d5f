#!/bin/bash
# Makes the release archive (tools/make-release.sh) and reports, for both
# updater.exe in it, the size, each section's size (what it holds and what
# it takes in the file, in 512-byte blocks) and the DLLs it imports, and,
# for each whose Wine runs on this machine, its time from start to exit on
# the missing-settings-file case against a trivial Win32 program built the
# same way, both run under Wine in the same prefix (medians of interleaved
# runs). Targets: at most 56 KiB (64 KiB is the ceiling the static check
# holds), system DLLs only, 1.2x.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
RUNS=${RUNS:-15}
root="build${UPDATER_BUILD_SUFFIX:-}"
system="ADVAPI32.dll KERNEL32.dll msvcrt.dll ole32.dll SHELL32.dll USER32.dll"

report_binary() {  # folder-in-archive toolchain
  local exe="$shipped/$1/updater.exe" size dlls
  size=$(stat -c %s "$exe")
  dlls=$("$2-objdump" -p "$exe" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')
  echo "$1 updater.exe: $size bytes ($((size / 1024)) KiB; target 56 KiB)"
  "$2-objdump" -h "$exe" | python3 -c '
import re, sys
rows = [(m.group(1), int(m.group(2), 16), int(m.group(3), 16))
        for m in re.finditer(r"^\s*\d+\s+(\S+)\s+([0-9a-f]+)\s+\S+\s+\S+\s+([0-9a-f]+)",
                             sys.stdin.read(), re.M)]
print("  %-8s %7s %8s" % ("section", "bytes", "in file"))
print("  %-8s %7s %8d" % ("headers", "", rows[0][2]))
for name, size, offset in rows:
    print("  %-8s %7d %8d" % (name, size, -(-size // 512) * 512 if offset else 0))
'
  echo "  imports: $dlls"
  for d in $dlls; do
    case " $system " in *" $d "*) ;; *) echo "  not a system DLL: $d" ;; esac
  done
}

measure_startup() {  # preset folder-in-archive arch
  local bin="$root/$1" dir
  shift
  (
    wine_use "$2"
    # No display: the error box fails at once in both programs, so the time
    # is start-up, the work before the box, and exit.
    export WINEPREFIX="$PWD/$bin/bench-prefix"
    unset DISPLAY
    if [ ! -d "$WINEPREFIX/drive_c/windows" ]; then
      timeout 300 $WINE_START "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    fi
    setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    dir="$WINEPREFIX/drive_c/bench"
    rm -rf "$dir"; mkdir -p "$dir"
    cp "$shipped/$1/updater.exe" "$bin/bench_trivial.exe" "$bin/tests/e2e/boxdriver.exe" "$dir/"
    measure() {  # program -> one time in microseconds per line
      timeout 600 $WINE_START "$WINELOADER" "C:\\bench\\boxdriver.exe" time "$RUNS" "C:\\bench\\$1" 2>/dev/null | tr -d '\r'
    }
    measure updater.exe >/dev/null   # warm-up
    : >"$dir/u.txt"; : >"$dir/t.txt"
    for _ in 1 2 3; do
      measure updater.exe >>"$dir/u.txt"
      measure bench_trivial.exe >>"$dir/t.txt"
    done
    timeout 30 "$WINESERVER" -k 2>/dev/null || true
    python3 - "$1" "$dir/u.txt" "$dir/t.txt" <<'PY'
import statistics, sys
u = [int(x) for x in open(sys.argv[2]).read().split()]
t = [int(x) for x in open(sys.argv[3]).read().split()]
mu, mt = statistics.median(u), statistics.median(t)
print("%s start to exit, median of %d runs: updater.exe %.1f ms, trivial %.1f ms, ratio %.2f (target 1.2)"
      % (sys.argv[1], len(u), mu / 1000, mt / 1000, mu / mt))
PY
  )
}

bash tools/make-release.sh >/dev/null
archive=$(python3 tools/release_archive.py --path "$root")
shipped="$root/bench-release"
rm -rf "$shipped"
python3 -c 'import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        i.filename = i.filename.split("/", 1)[1]  # without updater-<version>/
        z.extract(i, sys.argv[2])' "$archive" "$shipped"
echo "$archive: $(stat -c %s "$archive") bytes"
for preset in windows windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target bench_trivial boxdriver >/dev/null
done
report_binary windows-32bit i686-w64-mingw32
report_binary windows-64bit x86_64-w64-mingw32
if wine_can_run 32; then measure_startup windows windows-32bit 32; else wine_skip_line 32 | sed 's/Wine suites/start-up time/'; fi
measure_startup windows-x64 windows-64bit 64
