#!/bin/bash
# Times start-up against the size of [DEFINE]: the 64-bit updater.exe under
# wine64, with 1,000 to 16,000 symbol lines (each "<SymK>=<Programs>\...",
# expanded at start-up) and one OSVER procedure, from start to exit. Prints
# each median above the run with an empty [DEFINE], and the growth from
# 1,000 to 16,000 lines: 16 means start-up grows as the file does.
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

median() {  # name size -> median start-to-exit time in milliseconds
  timeout 3600 "$WINELOADER" 'C:\definebench\boxdriver.exe' time "$RUNS" \
    "C:\\definebench\\$1-$2\\updater.exe /SILENT" 2>/dev/null | tr -d '\r' |
    sort -n | awk '{ t[NR] = $1 } END {
      if (NR == 0) print "-"; else printf "%.1f\n", t[int((NR + 1) / 2)] / 1000 }'
}

for entry in "${entries[@]}"; do
  name=${entry%%=*}
  base=$(median "$name" 0)
  echo "$name: empty [DEFINE] ${base} ms (median of $RUNS)"
  first=""
  last=""
  for size in $SIZES; do
    t=$(median "$name" "$size")
    if [ "$t" = "-" ] || [ "$base" = "-" ]; then
      echo "  $size lines: did not finish within a minute"
      continue
    fi
    above=$(awk -v t="$t" -v b="$base" 'BEGIN { d = t - b; printf "%.1f", d < 0.1 ? 0.1 : d }')
    echo "  $size lines: $t ms, $above ms above the empty one"
    [ -z "$first" ] && first="$size:$above"
    last="$size:$above"
  done
  if [ -n "$first" ] && [ "$first" != "$last" ]; then
    awk -v a="$first" -v b="$last" 'BEGIN {
      split(a, x, ":"); split(b, y, ":");
      printf "  growth from %d to %d lines: %.1fx the time for %.0fx the lines\n",
        x[1], y[1], y[2] / x[2], y[1] / x[1] }'
  fi
done
timeout 30 "$WINESERVER" -k 2>/dev/null || true
