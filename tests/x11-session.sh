# Sourced by the tests that play the real game in a virtual X server with a
# window manager. The caller sets WORK (a scratch directory, removed at the
# end), GAME_PID once the game runs and PIDS for other processes to end at
# exit; it may redefine fail_details.

XVFB_PID=
WM_PID=
GAME_PID=
PIDS=

cleanup() {
    for pid in $GAME_PID $PIDS $WM_PID $XVFB_PID; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail_details() { :; }

fail() {
    echo "FAIL: $*"
    [ -s "$WORK/game.log" ] && sed 's/^/  game: /' "$WORK/game.log" | tail -20
    fail_details
    exit 1
}

alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended $1"; }

# Xvfb at WIDTHxHEIGHT on the first free display, then openbox: full screen
# needs a window manager to honour it. Sets DISPLAY.
start_x() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "$1x$2x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 50); do
            if [ -e "/tmp/.X11-unix/X$n" ]; then
                export DISPLAY=":$n"
                openbox >"$WORK/wm.log" 2>&1 &
                WM_PID=$!
                sleep 0.5
                return 0
            fi
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    done
    return 1
}

# Waits for the game's window and focuses it. Sets WID.
find_window() {
    WID=
    for _ in $(seq 100); do
        WID=$(xdotool search --onlyvisible --name '^Ossmire$' 2>/dev/null | head -1)
        [ -n "$WID" ] && break
        alive "before its window showed"
        sleep 0.1
    done
    [ -n "$WID" ] || fail "no window named Ossmire"
    xdotool windowfocus --sync "$WID" 2>/dev/null
}

# A tap can fall between two polls of the keyboard: hold the key for more
# than two frames.
tap() {
    xdotool keydown "$1"
    sleep 0.06
    xdotool keyup "$1"
}

# ESC must end the game at once with exit status 0.
quit_with_esc() {
    local status
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
}
