#!/bin/bash
# Times start-up against the size of [DEFINE]: the 64-bit updater.exe under
# wine64, with 1,000 to 16,000 symbol lines (each "<SymK>=<Programs>\...",
# expanded at start-up) and one OSVER procedure, from start to exit. Each
# size's fastest run (the one the machine's other load disturbed least) is
# printed with what it takes above the run with an empty [DEFINE], and the
# growth of start-up from 1,000 to 16,000 lines: 16x the time or less means
# start-up grows no faster than the file.
# Arguments NAME=PATH add other executables (an older build, say), run in
# turns with the current one.
#   bash bench/define-bench.sh [NAME=PATH ...]   RUNS=5, SIZES="1000 ... 16000"
# Run tools/install-deps.sh once first.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
RUNS=${RUNS:-5}
SIZES=${SIZES:-"1000 2000 4000 8000 16000"}
bin="build${UPDATER_BUILD_SUFFIX:-}/windows-x64"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target updater boxdriver >/dev/null
wine_use 64
export WINEPREFIX="$PWD/$bin/bench-prefix"
unset DISPLAY  # a box would fail at once instead of waiting
if [ ! -d "$WINEPREFIX/drive_c/windows" ]; then
  timeout 300 "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
fi
setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
dir="$WINEPREFIX/drive_c/definebench"
rm -rf "$dir"
mkdir -p "$dir"
cp "$bin/tests/e2e/boxdriver.exe" "$dir/"

settings() {  # lines -> a settings file with that many [DEFINE] lines
  printf '[UPDATER]\r\nNAME=Define Bench\r\nPROC=OS\r\n[OS]\r\nMODE=OSVER\r\n[DEFINE]\r\n'
  awk -v n="$1" 'BEGIN { for (k = 1; k <= n; ++k)
    printf "<Sym%d>=<Programs>\\Vendor\\Tool%d\\bin\r\n", k, k }'
}

entries=("current=$bin/updater.exe" "$@")
for size in 0 $SIZES; do
  for entry in "${entries[@]}"; do
    name=${entry%%=*}
    mkdir -p "$dir/$name-$size"
    cp "${entry#*=}" "$dir/$name-$size/updater.exe"
    settings "$size" >"$dir/$name-$size/updater.ini"
  done
done

one() {  # name size -> one start-to-exit time in microseconds
  timeout 600 "$WINELOADER" 'C:\definebench\boxdriver.exe' time 1 \
    "C:\\definebench\\$1-$2\\updater.exe /SILENT" 2>/dev/null | tr -d '\r'
}

# In turns, one run of each size and executable per round, so that all
# share the machine's load alike.
for entry in "${entries[@]}"; do
  for size in 0 $SIZES; do : >"$dir/${entry%%=*}-$size.txt"; done
done
for _ in $(seq "$RUNS"); do
  for size in 0 $SIZES; do
    for entry in "${entries[@]}"; do
      one "${entry%%=*}" "$size" >>"$dir/${entry%%=*}-$size.txt"
    done
  done
done

for entry in "${entries[@]}"; do
  name=${entry%%=*}
  python3 - "$dir" "$name" "$RUNS" $SIZES <<'PY'
import sys
folder, name, runs, sizes = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
def fastest(size):
    times = [int(t) for t in open("%s/%s-%s.txt" % (folder, name, size)).read().split()]
    return min(times) / 1000 if times else None
base = fastest(0)
print("%s: empty [DEFINE] %.0f ms (fastest of %s runs)" % (name, base, runs))
whole = {}
for size in sizes:
    t = fastest(size)
    if t is None:
        print("  %s lines: did not finish within a minute" % size)
        continue
    whole[int(size)] = t
    print("  %s lines: %.0f ms, %.0f ms above the empty one" % (size, t, t - base))
if len(whole) > 1:
    low, high = min(whole), max(whole)
    print("  growth from %d to %d lines: %.1fx the time for %.0fx the lines"
          % (low, high, whole[high] / whole[low], high / low))
PY
done
timeout 30 "$WINESERVER" -k 2>/dev/null || true
