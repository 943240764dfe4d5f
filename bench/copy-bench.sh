#!/bin/bash
# Times two COPY procedures by the 64-bit updater.exe under wine64, from
# start to exit, in a prefix of its own on this machine's disk: one 100 MiB
# file onto an existing one, and 1,000 files of 4 KiB onto existing ones.
# Arguments NAME=PATH add other executables (an older build, say); all are
# run in turns, one copy each per round, so that they share the machine's
# load, and each one's median is reported.
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
  timeout 300 $WINE_START "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
fi
setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
dir="$WINEPREFIX/drive_c/copybench"
rm -rf "$dir"
mkdir -p "$dir/app"
cp "$bin/tests/e2e/boxdriver.exe" "$dir/"
head -c $((100 << 20)) /dev/urandom >"$dir/new.bin"
head -c $((100 << 20)) /dev/urandom >"$dir/app/app.bin"
mkdir -p "$dir/many/new" "$dir/many/app"
from=""; to=""
for i in $(seq 1000); do
  head -c 4096 /dev/urandom >"$dir/many/new/f$i.dll"
  head -c 4096 /dev/urandom >"$dir/many/app/f$i.dll"
  from="$from${from:+,}<Src>\\new\\f$i.dll"
  to="$to${to:+,}<Src>\\app\\f$i.dll"
done

names=()
for entry in "current=$bin/updater.exe" "$@"; do
  name=${entry%%=*}
  names+=("$name")
  cp "${entry#*=}" "$dir/$name.exe"
  printf '[UPDATER]\r\nNAME=Copy Bench\r\nPROC=C\r\n[C]\r\nMODE=COPY\r\nFROM=<Src>\\new.bin\r\nTO=<Src>\\app\\app.bin\r\n' \
    >"$dir/$name.ini"
  cp "${entry#*=}" "$dir/many/$name.exe"
  printf '[UPDATER]\r\nNAME=Copy Bench\r\nPROC=C\r\n[C]\r\nMODE=COPY\r\nFROM=%s\r\nTO=%s\r\n' \
    "$from" "$to" >"$dir/many/$name.ini"
  : >"$dir/$name.txt"
  : >"$dir/many/$name.txt"
done
run() {  # folder name -> the run's time in microseconds
  timeout 300 $WINE_START "$WINELOADER" 'C:\copybench\boxdriver.exe' time 1 "C:\\copybench\\$1$2.exe" \
    2>/dev/null | tr -d '\r'
}
for name in "${names[@]}"; do run "" "$name" >/dev/null; done  # warm-up
for _ in $(seq "$ROUNDS"); do
  for name in "${names[@]}"; do
    run "" "$name" >>"$dir/$name.txt"
    run 'many\' "$name" >>"$dir/many/$name.txt"
  done
done
cmp -s "$dir/new.bin" "$dir/app/app.bin" || { echo "the copy did not arrive"; exit 1; }
others=$(find "$dir/app" "$dir/many/app" -type f ! -name app.bin ! -name 'f*.dll' | wc -l)
cmp -s "$dir/many/new/f1000.dll" "$dir/many/app/f1000.dll" || { echo "the 1,000 files did not arrive"; exit 1; }
timeout 30 "$WINESERVER" -k 2>/dev/null || true
for name in "${names[@]}"; do
  python3 - "$name" "$dir/$name.txt" "$dir/many/$name.txt" <<'PY'
import statistics, sys
for what, path in (("100 MiB COPY onto an existing file", sys.argv[2]),
                   ("COPY of 1,000 files of 4 KiB onto existing ones", sys.argv[3])):
    t = [int(x) / 1000 for x in open(path).read().split()]
    print("%s: %s, %d runs: median %.0f ms (min %.0f, max %.0f)"
          % (sys.argv[1], what, len(t), statistics.median(t), min(t), max(t)))
PY
done
echo "other files left beside the destination: $others"
rm -rf "$dir"
