#!/usr/bin/env bash
# Takes the README's and the package's screenshots with the simulator, from a
# scratch copy of the game directory: a course stage half walked and the
# first story page. Rerun after the art changes, look, commit the PNGs.
# Usage: scripts/screenshots.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
game=$build/game
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/game/EditMap"
for f in "$game"/*; do
    case $(basename "$f") in EditMap | sav_*.vrk) ;; *) ln -s "$PWD/$f" "$work/game/" ;; esac
done

# Stage 25: fences, time stones, warps and the trail, 8 steps in.
"$build/ossmire-solver" --moves "$game/data.vrk" >"$work/moves"
python3 -B tools/bot/solution-to-script.py "$game/data.vrk" "$work/moves" course --first 24 --count 1 \
    >"$work/play.sim"
"$game/ossmire-sim" --dir "$work/game" --shot "230:$PWD/docs/screenshot-play.png" "$work/play.sim" >/dev/null
rm -f "$work/game"/sav_*.vrk

# RULE from the title: Olga's first words in chapter 0.
printf '4 -\n1 z\n120 -\n1 z\n70 -\n1 z\n60 -\n' |
    "$game/ossmire-sim" --dir "$work/game" --shot "250:$PWD/docs/screenshot-story.png" - >/dev/null
echo docs/screenshot-play.png docs/screenshot-story.png
