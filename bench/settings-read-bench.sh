#!/bin/bash
# Times updater.exe (64-bit build) from start to exit on large settings
# files under Wine with a Japanese locale: a [DEFINE] of N symbol lines and
# 200 procedures read and run (OSVER, no box), for N = 1,000 and 16,000.
# With an older updater.exe as argument, the same runs of it are timed too,
# interleaved, in the same prefix (medians). Each executable's first run on
# each file must exit with 0, or the benchmark stops.
#   bash bench/settings-read-bench.sh [OTHER_UPDATER_EXE]
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
RUNS=${RUNS:-9}
bin="build${UPDATER_BUILD_SUFFIX:-}/windows-x64"
other=${1:-}
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target updater boxdriver >/dev/null
wine_use 64
export WINEPREFIX="$PWD/$bin/bench-prefix"
unset DISPLAY
if [ ! -d "$WINEPREFIX/drive_c/windows" ]; then
  timeout 300 $WINE_START "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
fi
setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
dir="$WINEPREFIX/drive_c/settings-bench"
rm -rf "$dir"
mkdir -p "$dir/new" "$dir/old"
cp "$bin/updater.exe" "$dir/new/"
[ -n "$other" ] && cp "$other" "$dir/old/updater.exe"
cp "$bin/tests/e2e/boxdriver.exe" "$dir/"

for lines in 1000 16000; do
  python3 - "$lines" "$dir/new/updater.ini" <<'PY'
import sys
lines, path = int(sys.argv[1]), sys.argv[2]
procs = ["P%03d" % i for i in range(200)]
out = ["[UPDATER]", "NAME=\u66f4\u65b0\u30bd\u30d5\u30c8", "PROC=" + ",".join(procs), "[DEFINE]"]
out += ["<\u30bd%05d>=C:\\\u8868\\%05d" % (i, i) for i in range(lines)]
for p in procs:
    out += ["[%s]" % p, "MODE=OSVER"]
open(path, "wb").write(("\r\n".join(out) + "\r\n").encode("cp932"))
PY
  cp "$dir/new/updater.ini" "$dir/old/updater.ini"
  for which in new old; do
    [ "$which" = old ] && [ -z "$other" ] && continue
    code=0
    timeout 300 $WINE_START "$WINELOADER" "C:\\settings-bench\\$which\\updater.exe" \
      </dev/null >/dev/null 2>&1 || code=$?
    if [ "$code" != 0 ]; then
      echo "$which updater.exe exited with $code on $lines lines" >&2
      exit 1
    fi
  done
  : >"$dir/new.txt"; : >"$dir/old.txt"
  # Warm-up: the first runs after a new file or a new prefix are slower.
  timeout 300 $WINE_START "$WINELOADER" "C:\\settings-bench\\boxdriver.exe" time 3 \
    "C:\\settings-bench\\new\\updater.exe" >/dev/null 2>&1 || true
  for _ in 1 2 3; do
    for which in new old; do
      [ "$which" = old ] && [ -z "$other" ] && continue
      timeout 900 $WINE_START "$WINELOADER" "C:\\settings-bench\\boxdriver.exe" time "$RUNS" \
        "C:\\settings-bench\\$which\\updater.exe" 2>/dev/null | tr -d '\r' >>"$dir/$which.txt"
    done
  done
  python3 - "$lines" "$dir/new.txt" "$dir/old.txt" <<'PY'
import statistics, sys
def median(path):
    times = [int(x) for x in open(path).read().split()]
    return statistics.median(times) / 1000 if times else None
new, old = median(sys.argv[2]), median(sys.argv[3])
line = "%s [DEFINE] lines, 200 procedures: updater.exe %.1f ms" % (sys.argv[1], new)
if old is not None:
    line += ", the other %.1f ms" % old
print(line)
PY
done
timeout 30 "$WINESERVER" -k 2>/dev/null || true
