#!/bin/bash
# Runs the real game in a virtual X server: the window appears and shows a
# picture, F1 goes full screen and back, ESC quits with exit code 0.
# Usage: xvfb-smoke.sh GAME_DIR   (a built game directory, content included)
# Exits 77 (skipped) without Xvfb, openbox, xdotool or ImageMagick: full
# screen needs a window manager to honour it.
set -u

GAME_DIR=${1:?usage: xvfb-smoke.sh GAME_DIR}
GAME_DIR=$(cd "$GAME_DIR" && pwd) || exit 1
SCREEN_W=1024
SCREEN_H=768

for tool in Xvfb openbox xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "skip: $tool missing"; exit 77; }
done
[ -x "$GAME_DIR/ossmire" ] || { echo "no $GAME_DIR/ossmire"; exit 1; }

WORK=$(mktemp -d)
XVFB_PID=
WM_PID=
GAME_PID=
cleanup() {
    for pid in $GAME_PID $WM_PID $XVFB_PID; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -s "$WORK/game.log" ] && sed 's/^/  game: /' "$WORK/game.log" | tail -20
    exit 1
}

start_xvfb() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    done
    return 1
}

geometry() { xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: //p'; }

# Mean brightness of the whole screen, 0 (black) to 1.
brightness() {
    import -window root "$WORK/$1.png" 2>/dev/null || return 1
    convert "$WORK/$1.png" -colorspace gray -format '%[fx:maxima]' info:
}

tap() {
    xdotool keydown "$1"
    sleep 0.1
    xdotool keyup "$1"
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

start_xvfb || { echo "skip: no free display for Xvfb"; exit 77; }
openbox >"$WORK/wm.log" 2>&1 &
WM_PID=$!
sleep 0.5

(cd "$GAME_DIR" && SDL_AUDIODRIVER=dummy OSSMIRE_NO_MESSAGEBOX=1 exec ./ossmire) \
    >"$WORK/game.log" 2>&1 &
GAME_PID=$!

WID=
for _ in $(seq 100); do
    WID=$(xdotool search --onlyvisible --name '^Ossmire$' 2>/dev/null | head -1)
    [ -n "$WID" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window showed"
    sleep 0.1
done
[ -n "$WID" ] || fail "no window named Ossmire"
xdotool windowfocus --sync "$WID" 2>/dev/null
sleep 1.5

wait_geometry 640x480 || fail "windowed client area"
level=$(brightness windowed) || fail "screenshot"
awk -v v="$level" 'BEGIN { exit !(v > 0) }' || fail "the window shows only black"

tap F1
wait_geometry "${SCREEN_W}x${SCREEN_H}" || fail "F1 did not go full screen"
sleep 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after F1"
level=$(brightness fullscreen) || fail "screenshot"
awk -v v="$level" 'BEGIN { exit !(v > 0) }' || fail "full screen shows only black"

tap F1
wait_geometry 640x480 || fail "second F1 did not return to the window"
sleep 0.5

tap Escape
for _ in $(seq 50); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$GAME_PID" 2>/dev/null && fail "ESC did not end the game"
wait "$GAME_PID"
status=$?
GAME_PID=
[ "$status" -eq 0 ] || fail "exit code $status"
echo "PASS"
