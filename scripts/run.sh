#!/usr/bin/env bash
# Builds everything, then starts the game from its game directory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build/game
exec ./ossmire
