#!/usr/bin/env bash
# Runs one simulator script in a scratch copy of the game directory.
# The script's first lines may hold options: "#! --trace scene --frames 10".
# With a SCRIPT.out beside it, the output must match it exactly.
set -euo pipefail
sim=$1 game=$2 script=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in "$game"/*; do
  case $(basename "$f") in
    ossmire|ossmire-sim|EditMap|sav_*.vrk) ;;
    *) ln -s "$f" "$work/" ;;
  esac
done
mkdir -p "$work/EditMap"
opts=$(sed -n 's/^#! //p' "$script" | tr '\n' ' ')
# shellcheck disable=SC2086
out=$("$sim" --dir "$work" $opts "$script")
expected=${script%.sim}.out
if [ -f "$expected" ]; then
  diff -u "$expected" <(printf '%s\n' "$out")
fi
