#!/bin/bash
# Plays the real game in a virtual X server with a window manager, as a
# player would: title, menu, RULE, the story skipped, the first rule stage;
# F1 to full screen and back; the stage walked to the next chapter; the
# window resized; ESC. Screenshots are compared with the bitmaps they show
# and the simulator's picture of the same moment; the game's window must be
# the only one and its sound, on SDL's disk driver, not silence.
# Usage: xvfb-smoke.sh GAME_DIR [ARTIFACT_DIR [SOLVER [ROOT]]]
#   GAME_DIR      a built game directory, content and ossmire-sim included
#   ARTIFACT_DIR  where the screenshots are kept (default: a temporary one)
#   SOLVER        ossmire-solver, for the moves of the stage (without it the
#                 stage is not walked)
#   ROOT          an installed tree (an extracted package) to play instead of
#                 a scratch copy of GAME_DIR; its saves must go to the home
# Exits 77 (skipped) without Xvfb, openbox, xdotool, xprop or ImageMagick:
# full screen needs a window manager to honour it.
set -u

GAME_DIR=${1:?usage: xvfb-smoke.sh GAME_DIR [ARTIFACT_DIR [SOLVER [ROOT]]]}
SOLVER=${3:-}
ROOT=${4:-}
GAME_DIR=$(cd "$GAME_DIR" && pwd) || exit 1
# Full screen shows the picture twice its size, centred in black bars.
SCREEN_W=1600
SCREEN_H=1200
# Largest normalised RMSE between a screenshot and its reference picture.
SAME=0.02

for tool in Xvfb openbox xdotool xprop import convert compare; do
    command -v "$tool" >/dev/null || { echo "skip: $tool missing"; exit 77; }
done

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

# Normalised RMSE between the same region (like 640x290+0+40) of two pictures.
difference() {
    convert "$1" -crop "$3" +repage "$WORK/a.png" &&
        convert "$2" -crop "$3" +repage "$WORK/b.png" &&
        compare -metric RMSE "$WORK/a.png" "$WORK/b.png" null: 2>&1 |
        sed -n 's/.*(\(.*\)).*/\1/p'
}

# Screenshots until the region matches the reference: on a busy machine no
# fixed wait can be trusted. CONVERT brings the picture to the game's size.
wait_for() {  # NAME REFERENCE REGION SECONDS [CONVERT...]
    local what=$1 reference=$2 region=$3 seconds=$4 d=
    shift 4
    local deadline=$((SECONDS + seconds))
    while :; do
        alive "before the $what showed"
        shot "$what" || fail "$what: screenshot"
        convert "$ARTIFACTS/$what.png" "$@" "$WORK/seen.png" || fail "$what: convert"
        d=$(difference "$WORK/seen.png" "$reference" "$region")
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
    fail "geometry $got, wanted $want: $2"
}

# The windows the window manager manages: the game's alone, never a dialog
# (a message box may have no title at all).
one_window() {
    local w list=
    for w in $(xprop -root _NET_CLIENT_LIST | sed -n 's/.*# //p' | tr -d ,); do
        list+="$w $(xprop -id "$w" WM_NAME _NET_WM_WINDOW_TYPE | sed 's/^[^=]*= //' | tr '\n' ' ')
"
    done
    [ "$(echo -n "$list" | wc -l)" -eq 1 ] && echo "$list" | grep -q ' "Ossmire" _NET_WM_WINDOW_TYPE_NORMAL' ||
        fail "$1: the windows are not the game's alone:
$list"
}

# The game's files in a scratch directory, so its saves land there. The
# program itself is copied: the game looks for its data beside the file it
# runs from, which for a link is the link's target.
scratch_copy() {  # DIR
    mkdir -p "$1/EditMap"
    for f in "$GAME_DIR"/*; do
        case $(basename "$f") in
            EditMap | sav_*.vrk) ;;
            ossmire) cp "$f" "$1/" ;;
            *) ln -s "$f" "$1/" ;;
        esac
    done
}

# A scratch home and working folder; as root (who may write anywhere) the
# game runs as nobody, so an installed tree is read-only to it as to a player.
PLAYER=$WORK/player
mkdir -p "$PLAYER/home" "$PLAYER/elsewhere"
AS_PLAYER=
if [ -n "$ROOT" ]; then
    PROGRAM=$ROOT/usr/games/ossmire
    BITMAP=$ROOT/usr/share/games/ossmire/bitmap
    SAVES=$PLAYER/home/.local/share/ossmire
    if [ "$(id -u)" -eq 0 ]; then
        AS_PLAYER="setpriv --reuid=65534 --regid=65534 --clear-groups"
        chmod 755 "$WORK"
        chown -R 65534:65534 "$PLAYER"
    fi
else
    SAVES=$WORK/game
    scratch_copy "$SAVES"
    PROGRAM=$SAVES/ossmire
    BITMAP=$GAME_DIR/bitmap
fi
[ -x "$PROGRAM" ] || fail "no $PROGRAM"

# What the simulator draws once the first rule stage is set up after the same
# key presses: opening, RULE, the story skipped.
scratch_copy "$WORK/sim"
STAGE=$ARTIFACTS/stage-sim.png
printf '4 -\n1 z\n120 -\n1 z\n70 -\n1 x\n200 -\nexpect stageLoaded 1\n' |
    "$GAME_DIR/ossmire-sim" --dir "$WORK/sim" --shot "390:$STAGE" - >/dev/null ||
    fail "the simulator did not reach the first rule stage"

start_x "$SCREEN_W" "$SCREEN_H" || { echo "skip: no free display for Xvfb"; exit 77; }

(cd "$PLAYER/elsewhere" && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$PLAYER/home" \
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$PLAYER/audio.raw" OSSMIRE_NO_MESSAGEBOX=1 \
    $AS_PLAYER "$PROGRAM") >"$WORK/game.log" 2>&1 &
GAME_PID=$!

find_window

# The opening: the closed doors (the prompt below them changes, the frame
# rate read-out sits above them).
wait_geometry 640x480 "windowed client area"
wait_for 1-title "$BITMAP/opening/background02.bmp" 640x290+0+40 5
one_window "the title"

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
wait_for 4-stage "$STAGE" 320x320+80+80 10
one_window "the first rule stage"

# Full screen: whole pixels, the bars left and right black, and every second
# pixel of the picture the simulator's.
tap F1
wait_geometry "${SCREEN_W}x${SCREEN_H}" "F1 did not go full screen"
sleep 0.5
wait_for 5-fullscreen "$STAGE" 320x320+80+80 3 -crop 1280x960+160+120 +repage -sample 50%
level=$(convert "$ARTIFACTS/5-fullscreen.png" -crop 160x1200+0+0 +repage -colorspace gray \
    -format '%[fx:mean]' info:)
awk -v v="$level" 'BEGIN { exit !(v < 0.01) }' || fail "full screen bar is not black ($level)"

tap F1
wait_geometry 640x480 "second F1 did not return to the window"
sleep 0.5
wait_for 6-windowed "$STAGE" 320x320+80+80 3

# The stage walked with the arrow keys: a held arrow steps on its second frame
# and again 17 frames later, so held 0.2 s in 0.7 s each key makes exactly one
# step from 60 down to 19 frames a second. Cleared, it leaves for chapter 1.
reference=$STAGE region=320x320+80+80
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
    reference=$BITMAP/gameadv/background01.bmp region=140x320+500+0
    wait_for 7-chapter1 "$reference" "$region" 15
fi

# Resized by the user, too small for twice the size: the picture once,
# centred, as it was at 640x480 (the chapter, or the stage without a solver).
xdotool windowsize "$WID" 1000 700
wait_geometry 1000x700 "the window did not take the new size"
wait_for 8-resized "$reference" "$region" 4 -crop 640x480+180+110 +repage

quit_with_esc

# The title's tune and the effects went to the disk driver: some samples
# must be other than silence.
[ -s "$PLAYER/audio.raw" ] || fail "no audio written"
loud=$(tr -d '\000' <"$PLAYER/audio.raw" | wc -c)
echo "audio: $(stat -c %s "$PLAYER/audio.raw") bytes, $loud of them not zero"
[ "$loud" -gt 0 ] || fail "audio was only silence"
[ -f "$SAVES/sav_1.vrk" ] || fail "no progress file in $SAVES: $(ls -A "$SAVES" 2>&1)"
[ -z "$(ls -A "$PLAYER/elsewhere")" ] || fail "files in the working folder: $(ls -A "$PLAYER/elsewhere")"
[ -z "$ROOT" ] && [ -e "$PLAYER/home/.local" ] && fail "a portable copy wrote into the home"
echo "PASS (screenshots in $ARTIFACTS)"
