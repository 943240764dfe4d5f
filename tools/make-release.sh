#!/bin/bash
# Makes the release archive, build/updater-<version>.zip: the 32-bit and
# 64-bit updater.exe and updater-check.exe and the Linux updater-check, with
# the licence, the README, docs/, the example settings file and SHA256SUMS.
# Each build tree is removed and built anew from its release preset, so that
# nothing of an earlier build or toolchain reaches a release, and builds only
# what ships (the Linux checker in Release mode, without the host preset's
# sanitizers). Two runs on the same commit give the same bytes, in any
# folder: the entries' time is SOURCE_DATE_EPOCH, by default the time of the
# commit checked out.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
root="build${UPDATER_BUILD_SUFFIX:-}"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) ||
    { echo "make-release: not a git checkout: set SOURCE_DATE_EPOCH" >&2; exit 1; }
  if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "make-release: warning: uncommitted changes; this archive is not the commit's" >&2
  fi
fi
export SOURCE_DATE_EPOCH
for preset in release-windows release-windows-x64 release-linux; do
  rm -rf "$root/$preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
python3 tools/release_archive.py "$root"
