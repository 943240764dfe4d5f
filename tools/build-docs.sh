#!/bin/bash
# Draws the picture of the bundled example for the README: builds the host
# updater-check, writes its --graph output to docs/example-flow.dot (the
# tests check that this file is what the checker draws) and renders it to
# docs/example-flow.svg with Graphviz (Debian package graphviz).
set -eu
cd "$(dirname "$0")/.."
command -v dot >/dev/null || { echo "build-docs: install graphviz (apt-get install graphviz)" >&2; exit 1; }
cmake --preset host >/dev/null
cmake --build --preset host --target updater-check
build="build${UPDATER_BUILD_SUFFIX:-}/host"
python3 tests/checker/example_graph.py "$build/updater-check" >docs/example-flow.dot
dot -Tsvg docs/example-flow.dot -o docs/example-flow.svg
echo "build-docs: docs/example-flow.dot and docs/example-flow.svg written"
