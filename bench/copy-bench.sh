#!/bin/bash
# Times a COPY of a 100 MiB file onto an existing 100 MiB file by the 64-bit
# updater.exe under wine64, from start to exit, in a prefix of its own on
# this machine's disk. Arguments NAME=PATH add other executables (an older
# build, say); all are run in turns, one copy each per round, so that they
# share the machine's load, and each one's median is reported.
#   bash bench/copy-bench.sh [NAME=PATH ...]      ROUNDS=15 by default
# Run tools/install-deps.sh once first.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
ROUNDS=${ROUNDS:-15}
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
dir="$WINEPREFIX/drive_c/copybench"
rm -rf "$dir"
mkdir -p "$dir/app"
cp "$bin/tests/e2e/boxdriver.exe" "$dir/"
head -c $((100 << 20)) /dev/urandom >"$dir/new.bin"
head -c $((100 << 20)) /dev/urandom >"$dir/app/app.bin"

names=()
for entry in "current=$bin/updater.exe" "$@"; do
  name=${entry%%=*}
  names+=("$name")
  cp "${entry#*=}" "$dir/$name.exe"
  printf '[UPDATER]\r\nNAME=Copy Bench\r\nPROC=C\r\n[C]\r\nMODE=COPY\r\nFROM=<Src>\\new.bin\r\nTO=<Src>\\app\\app.bin\r\n' \
    >"$dir/$name.ini"
  : >"$dir/$name.txt"
done
run() {  # name -> the run's time in microseconds
  timeout 300 "$WINELOADER" 'C:\copybench\boxdriver.exe' time 1 "C:\\copybench\\$1.exe" \
    2>/dev/null | tr -d '\r'
}
for name in "${names[@]}"; do run "$name" >/dev/null; done  # warm-up
for _ in $(seq "$ROUNDS"); do
  for name in "${names[@]}"; do run "$name" >>"$dir/$name.txt"; done
done
cmp -s "$dir/new.bin" "$dir/app/app.bin" || { echo "the copy did not arrive"; exit 1; }
others=$(find "$dir/app" -type f ! -name app.bin | wc -l)
timeout 30 "$WINESERVER" -k 2>/dev/null || true
for name in "${names[@]}"; do
  python3 - "$name" "$dir/$name.txt" <<'PY'
import statistics, sys
t = [int(x) / 1000 for x in open(sys.argv[2]).read().split()]
print("%s: 100 MiB COPY onto an existing file, %d runs: median %.0f ms (min %.0f, max %.0f)"
      % (sys.argv[1], len(t), statistics.median(t), min(t), max(t)))
PY
done
echo "other files left beside the destination: $others"
rm -rf "$dir"
