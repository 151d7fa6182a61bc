#!/usr/bin/env bash
# Renders an effect and a tune through the real mixer with SDL's disk audio
# driver and fails unless the recording holds sound.
set -euo pipefail
check=$1 game=$2 wave=$3 midi=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$game"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" SDL_DISKAUDIODELAY=1 \
  "$check" "$wave" "$midi" 3000
python3 - "$work/out.raw" <<'PY'
import array, math, sys
samples = array.array("h", open(sys.argv[1], "rb").read())
if not samples:
    sys.exit("no audio written")
rms = math.sqrt(sum(s * s for s in samples) / len(samples)) / 32768
loud = sum(1 for s in samples if abs(s) > 300) / len(samples)
print(f"{len(samples) // 2} frames, rms {rms:.4f}, {loud:.1%} above -40 dB")
if rms < 0.002 or loud < 0.05:
    sys.exit("the recording is (nearly) silent")
PY
