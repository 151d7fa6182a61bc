#!/bin/bash
# Plays the real game in a virtual X server with a window manager, from a
# scratch copy of its game directory, the way a player would: the closed
# doors of the title, Z and the menu behind the doors, RULE, the story
# skipped with X, the first rule stage set up; F1 to full screen (the picture
# at twice its size between black bars) and back; the stage walked with the
# arrow keys to its clear and the next chapter; the window resized, the
# picture centred in it; ESC quits with exit code 0. Sound goes to SDL's disk driver and must not
# be silence. Pictures are compared with the bitmaps they show and with the
# simulator's picture of the same moment.
# Usage: xvfb-smoke.sh GAME_DIR [ARTIFACT_DIR [SOLVER]]
#   GAME_DIR      a built game directory, content included
#   ARTIFACT_DIR  where the screenshots are kept (default: a temporary one)
#   SOLVER        ossmire-solver, for the moves of the stage (without it the
#                 stage is not walked)
# Exits 77 (skipped) without Xvfb, openbox, xdotool or ImageMagick: full
# screen needs a window manager to honour it.
set -u

GAME_DIR=${1:?usage: xvfb-smoke.sh GAME_DIR [ARTIFACT_DIR [SOLVER]]}
SOLVER=${3:-}
GAME_DIR=$(cd "$GAME_DIR" && pwd) || exit 1
# Full screen shows the picture twice its size, centred in black bars.
SCREEN_W=1600
SCREEN_H=1200
# Largest normalised RMSE between a screenshot and its reference picture.
SAME=0.02

for tool in Xvfb openbox xdotool import convert compare; do
    command -v "$tool" >/dev/null || { echo "skip: $tool missing"; exit 77; }
done
[ -x "$GAME_DIR/ossmire" ] || { echo "no $GAME_DIR/ossmire"; exit 1; }

WORK=$(mktemp -d)
# shellcheck source=tests/x11-session.sh
. "$(dirname "$0")/x11-session.sh"
ARTIFACTS=${2:-$WORK/shots}
mkdir -p "$ARTIFACTS" || exit 1
ARTIFACTS=$(cd "$ARTIFACTS" && pwd)
rm -f "$ARTIFACTS"/*.png
fail_details() { echo "screenshots: $ARTIFACTS"; }

geometry() { xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: //p'; }

# The whole screen as an artefact, the window's client area for the checks.
shot() {
    import -window root "$ARTIFACTS/$1-screen.png" 2>/dev/null || return 1
    import -window "$WID" "$ARTIFACTS/$1.png" 2>/dev/null
}

# Mean brightness of a picture, 0 (black) to 1.
brightness() { convert "$1" -colorspace gray -format '%[fx:mean]' info:; }

# Normalised RMSE between the same region of two pictures: GEOMETRY like
# 640x290+0+40.
difference() {
    convert "$1" -crop "$3" +repage "$WORK/a.png" &&
        convert "$2" -crop "$3" +repage "$WORK/b.png" &&
        compare -metric RMSE "$WORK/a.png" "$WORK/b.png" null: 2>&1 |
        sed -n 's/.*(\(.*\)).*/\1/p'
}

# Takes screenshots until the region matches the reference picture: the
# frame rate may drop on a busy machine, so no fixed wait can be trusted.
wait_for() {
    local what=$1 reference=$2 region=$3 seconds=$4 d=
    local deadline=$((SECONDS + seconds))
    while :; do
        alive "before the $what showed"
        shot "$what" || fail "$what: screenshot"
        d=$(difference "$ARTIFACTS/$what.png" "$reference" "$region")
        awk -v d="${d:-1}" -v max="$SAME" 'BEGIN { exit !(d <= max) }' && break
        [ "$SECONDS" -lt "$deadline" ] || fail "$what: picture differs by $d over $region"
        sleep 0.2
    done
    echo "$what: difference $d over $region (${SECONDS}s)"
}

wait_geometry() {
    local want=$1 got
    for _ in $(seq 40); do
        got=$(geometry)
        [ "$got" = "$want" ] && return 0
        sleep 0.1
    done
    echo "geometry $got, wanted $want"
    return 1
}

# The game's files in a scratch directory, so its saves land there. The
# program itself is copied: the game looks for its data beside the file it
# runs from, which for a link is the link's target.
GAME=$WORK/game
mkdir -p "$GAME/EditMap"
for f in "$GAME_DIR"/*; do
    case $(basename "$f") in
        EditMap | sav_*.vrk) ;;
        ossmire) cp "$f" "$GAME/" ;;
        *) ln -s "$f" "$GAME/" ;;
    esac
done
BITMAP=$GAME_DIR/bitmap

# What the simulator draws once the first rule stage is set up after the same
# key presses: opening, RULE, the story skipped.
if [ -x "$GAME_DIR/ossmire-sim" ]; then
    mkdir -p "$WORK/sim"
    printf '4 -\n1 z\n120 -\n1 z\n70 -\n1 x\n200 -\nexpect stageLoaded 1\n' |
        "$GAME_DIR/ossmire-sim" --dir "$GAME" --shot "390:$ARTIFACTS/stage-sim.png" - \
            >/dev/null || fail "the simulator did not reach the first rule stage"
    rm -f "$GAME"/sav_*.vrk
fi

start_x "$SCREEN_W" "$SCREEN_H" || { echo "skip: no free display for Xvfb"; exit 77; }

(cd "$GAME" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" \
    OSSMIRE_NO_MESSAGEBOX=1 exec ./ossmire) >"$WORK/game.log" 2>&1 &
GAME_PID=$!

find_window

# The opening: the closed doors (the prompt below them changes, the frame
# rate read-out sits above them).
wait_geometry 640x480 || fail "windowed client area"
wait_for 1-title "$BITMAP/opening/background02.bmp" 640x290+0+40 5

# Z opens the doors; the menu takes input from the frame after the right
# door has left. Right of the menu entries, with no course cleared, the menu
# shows its bare background.
tap z
wait_for 2-menu "$BITMAP/opening/background01.bmp" 220x440+420+40 8
sleep 0.1

# RULE: chapter 0 behind the wipe, which uncovers the right edge last; X
# once it has gone; the stage start message, then the first rule stage.
tap z
wait_for 3-story "$BITMAP/gameadv/background01.bmp" 140x320+500+0 8
sleep 0.1
tap x
if [ -f "$ARTIFACTS/stage-sim.png" ]; then
    wait_for 4-stage "$ARTIFACTS/stage-sim.png" 320x320+80+80 10
else
    sleep 3.5
    shot 4-stage || fail "screenshot"
fi

tap F1
wait_geometry "${SCREEN_W}x${SCREEN_H}" || fail "F1 did not go full screen"
sleep 0.5
alive "after F1"
shot 5-fullscreen || fail "screenshot"
level=$(brightness "$ARTIFACTS/5-fullscreen.png")
awk -v v="$level" 'BEGIN { exit !(v > 0.05) }' || fail "full screen shows only black ($level)"
# Whole pixels: the bars left and right stay black, and every second pixel
# of the picture is the simulator's.
convert "$ARTIFACTS/5-fullscreen.png" -crop 160x1200+0+0 +repage "$WORK/bar.png" || fail "crop"
level=$(brightness "$WORK/bar.png")
awk -v v="$level" 'BEGIN { exit !(v < 0.01) }' || fail "full screen bar is not black ($level)"
if [ -f "$ARTIFACTS/stage-sim.png" ]; then
    convert "$ARTIFACTS/5-fullscreen.png" -crop 1280x960+160+120 +repage -sample 50% \
        "$WORK/shrunk.png" || fail "crop"
    d=$(difference "$WORK/shrunk.png" "$ARTIFACTS/stage-sim.png" 320x320+80+80)
    echo "full screen: difference $d over the board, at half size"
    awk -v d="${d:-1}" -v max="$SAME" 'BEGIN { exit !(d <= max) }' ||
        fail "full screen does not show the stage at twice its size"
fi

tap F1
wait_geometry 640x480 || fail "second F1 did not return to the window"
sleep 0.5
if [ -f "$ARTIFACTS/stage-sim.png" ]; then
    wait_for 6-windowed "$ARTIFACTS/stage-sim.png" 320x320+80+80 3
else
    shot 6-windowed || fail "screenshot"
fi

# Seconds have passed since the stage start: the clock shows another number.
d=$(difference "$ARTIFACTS/4-stage.png" "$ARTIFACTS/6-windowed.png" 120x40+495+45)
echo "clock: difference $d between the stage start and now"
awk -v d="${d:-0}" 'BEGIN { exit !(d > 0.02) }' || fail "the stage clock stands still"

# The stage walked with the arrow keys. A held arrow steps on its second frame
# and again 17 frames later, and a press that comes early steps once the 17
# frames are over if it is still held: held 0.2 s in 0.7 s, each key makes
# exactly one step from 60 down to 19 frames a second. Cleared, the stage
# leaves for chapter 1; a miss would play it again.
if [ -n "$SOLVER" ]; then
    moves=$("$SOLVER" --moves "$GAME_DIR/data.vrk" | awk '$1 == "rule" && $2 == 1 { print $NF }')
    [ -n "$moves" ] || fail "no solution for rule stage 1"
    declare -A arrow=([U]=Up [D]=Down [L]=Left [R]=Right)
    for ((i = 0; i < ${#moves}; i++)); do
        # One xdotool for the press and the release: a busy machine cannot
        # stretch the hold by starting a second process late.
        xdotool keydown "${arrow[${moves:i:1}]}" sleep 0.2 keyup "${arrow[${moves:i:1}]}"
        sleep 0.5
    done
    wait_for 7-chapter1 "$BITMAP/gameadv/background01.bmp" 140x320+500+0 15
fi

# Resized by the user, too small for twice the size: the picture once,
# centred, as it was at 640x480 (the chapter, or the stage without a solver).
xdotool windowsize "$WID" 1000 700
wait_geometry 1000x700 || fail "the window did not take the new size"
if [ -n "$SOLVER" ]; then
    reference=$BITMAP/gameadv/background01.bmp region=140x320+500+0
else
    reference=$ARTIFACTS/4-stage.png region=320x320+80+80
fi
for _ in $(seq 20); do
    shot 8-resized || fail "screenshot"
    convert "$ARTIFACTS/8-resized.png" -crop 640x480+180+110 +repage "$WORK/centre.png" || fail "crop"
    d=$(difference "$WORK/centre.png" "$reference" "$region")
    awk -v d="${d:-1}" -v max="$SAME" 'BEGIN { exit !(d <= max) }' && break
    sleep 0.2
done
echo "resized window: difference $d over $region, centred"
awk -v d="${d:-1}" -v max="$SAME" 'BEGIN { exit !(d <= max) }' ||
    fail "the resized window does not show the picture centred"

quit_with_esc

# The title's tune and the effects went to the disk driver: some samples
# must be other than silence.
[ -s "$WORK/audio.raw" ] || fail "no audio written"
loud=$(tr -d '\000' <"$WORK/audio.raw" | wc -c)
echo "audio: $(stat -c %s "$WORK/audio.raw") bytes, $loud of them not zero"
[ "$loud" -gt 0 ] || fail "audio was only silence"
[ -f "$GAME/sav_1.vrk" ] || fail "the title made no progress file in the game directory"
echo "PASS (screenshots in $ARTIFACTS)"
