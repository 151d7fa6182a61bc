#!/usr/bin/env bash
# Records the expected output (.out) of replays again, on purpose, after a
# change of behaviour; review the diff before committing it.
# usage: tests/replays/record.sh [GAME_DIR (build/game)] [SCRIPT.sim ...]
# Without scripts it records every replay; a tests/sim script records the same way.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
game=build/game
if [ $# -gt 0 ] && [ -d "$1" ]; then
  game=$1
  shift
fi
game=$(cd "$game" && pwd)
[ -x "$game/ossmire-sim" ] || { echo "no simulator in $game: build first" >&2; exit 2; }
if [ $# -eq 0 ]; then
  set -- "$here"/*.sim
fi
for script in "$@"; do
  RECORD=1 "$root/tests/run-sim-test.sh" "$game/ossmire-sim" "$game" "$script"
  echo "recorded ${script%.sim}.out"
done
git -C "$root" diff --stat -- "${@/%.sim/.out}" || true
