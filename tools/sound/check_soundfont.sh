#!/bin/sh
# Renders each MIDI file with fluidsynth from the whole General MIDI bank and
# from the game's cut-down copy; the two renders must match byte for byte.
# usage: check_soundfont.sh WHOLE.sf2 CUT.sf2 MIDI...   (exit 77 without fluidsynth)
set -eu
whole=$1 cut=$2
shift 2
command -v fluidsynth >/dev/null || { echo "skip: fluidsynth missing"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for midi in "$@"; do
  fluidsynth -ni -q -T raw -r 22050 -F "$work/whole.raw" "$whole" "$midi" >/dev/null 2>&1
  fluidsynth -ni -q -T raw -r 22050 -F "$work/cut.raw" "$cut" "$midi" >/dev/null 2>&1
  if [ ! -s "$work/whole.raw" ] || ! cmp -s "$work/whole.raw" "$work/cut.raw"; then
    echo "FAIL: $midi sounds different from the cut-down bank"
    status=1
  fi
done
exit $status
