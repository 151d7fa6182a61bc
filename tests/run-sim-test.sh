#!/usr/bin/env bash
# Runs one simulator script in a scratch copy of the game directory; its
# "#! OPTIONS" lines hold options. Each "#--- NAME" line starts a case, run in
# a scratch directory of its own after the lines above the first case, its
# output after that line. With a SCRIPT.out beside it, the output must match.
# usage: run-sim-test.sh SIM GAME_DIR SCRIPT
set -euo pipefail
sim=$1 game=$2 script=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
opts=$(sed -n 's/^#! //p' "$script" | tr '\n' ' ')
# "#= A,B,..." lines: the final values of these globals join the output, and
# only these, so that globals added later do not change it.
keep=$(sed -n 's/^#= //p' "$script" | tr -d ' ' | tr '\n' ',')
[ -n "$keep" ] && opts="$opts --state"

run() {  # run SCRIPT: its output, in a fresh game directory
  local dir
  dir=$(mktemp -d -p "$work")
  for f in "$game"/*; do
    case $(basename "$f") in
      ossmire|ossmire-sim|EditMap|sav_*.vrk) ;;
      *) ln -s "$f" "$dir/" ;;
    esac
  done
  mkdir -p "$dir/EditMap"
  # shellcheck disable=SC2086
  "$sim" --dir "$dir" $opts "$1"
}

if grep -q '^#--- ' "$script"; then
  out=""
  for name in $(sed -n 's/^#--- //p' "$script"); do
    awk -v name="$name" '/^#--- / { inside = $2 == name; started = 1; next }
      !started || inside' "$script" >"$work/case.sim"
    out+="#--- $name"$'\n'$(run "$work/case.sim")$'\n'
  done
  out=${out%$'\n'}
else
  out=$(run "$script")
fi
if [ -n "$keep" ]; then
  out=$(printf '%s\n' "$out" | awk -v keep="$keep" '
    BEGIN { n = split(keep, names, ","); for (i = 1; i <= n; i++) wanted[names[i]] = 1 }
    /^f=/ || /^#--- / { print; next }
    { name = $0; sub(/=.*/, "", name); if (name in wanted) print }')
fi
expected=${script%.sim}.out
# RECORD=1 writes the output as the expected one instead of comparing.
if [ "${RECORD:-0}" = 1 ]; then
  printf '%s\n' "$out" >"$expected"
elif [ -f "$expected" ]; then
  diff -u "$expected" <(printf '%s\n' "$out")
fi
