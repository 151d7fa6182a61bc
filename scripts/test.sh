#!/usr/bin/env bash
# Builds everything, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
bash scripts/build.sh "$@"
ctest --test-dir "$build" --output-on-failure -j2
