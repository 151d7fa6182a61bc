#!/usr/bin/env bash
# Plays stages from their solver solutions in the simulator.
# usage: run-bot-test.sh SIM GAME SOLVER BOT KIND [--first N] [--count K] [KIND ...]
# Each KIND (course, underground, rule) with its options becomes one script,
# run like any simulator script in a scratch copy of the game directory.
set -euo pipefail
sim=$1 game=$2 solver=$3 bot=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$solver" --moves "$game/data.vrk" > "$work/solutions.txt" || {
  cat "$work/solutions.txt"
  exit 1
}
n=0
while [ $# -gt 0 ]; do
  args=("$1")
  shift
  while [ $# -gt 0 ] && [[ $1 == --* ]]; do
    args+=("$1" "$2")
    shift 2
  done
  n=$((n + 1))
  python3 "$bot" "$game/data.vrk" "$work/solutions.txt" "${args[@]}" > "$work/play-$n.sim"
  "$here/run-sim-test.sh" "$sim" "$game" "$work/play-$n.sim"
done
