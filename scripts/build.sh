#!/usr/bin/env bash
# Configures and builds everything (game, simulator, tools, content, tests)
# into BUILD_DIR (default: build). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
bash scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja "$@" >/dev/null
ninja -C "$build"
