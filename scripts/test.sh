#!/usr/bin/env bash
# Builds everything, then runs every test. CTEST_ARGS adds options to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
bash scripts/build.sh "$@"
# shellcheck disable=SC2086
ctest --test-dir "$build" --output-on-failure -j2 ${CTEST_ARGS:-}
