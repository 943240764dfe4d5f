#!/bin/bash
# The release's test: makes the archive twice, here and from a copy of the
# tracked sources in another folder (so that both the source and the build
# folders differ, and minutes pass between the two), then checks that the
# two are the same bytes and that the archive holds what a release ships.
set -eu
cd "$(dirname "$0")/../.."
root="build${UPDATER_BUILD_SUFFIX:-}"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
bash tools/make-release.sh

copy="$root/release-copy"
rm -rf "$copy"
mkdir -p "$copy"
git ls-files -z | xargs -0 cp --parents -t "$copy"
(cd "$copy" && UPDATER_BUILD_SUFFIX=-copy bash tools/make-release.sh)

python3 tests/release/check_archive.py "$root" "$copy/build-copy"
