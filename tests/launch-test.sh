#!/bin/bash
# The game as a player starts it, from another folder: --version; a program
# without its data; an installed tree whose saves go to the home and which is
# never written; the settings file. With Xvfb, signals while a message box is
# open end the game and the box with it.
# Usage: launch-test.sh GAME_DIR VERSION
set -u
GAME_DIR=$(cd "${1:?usage: launch-test.sh GAME_DIR VERSION}" && pwd) || exit 1
VERSION=${2:?usage: launch-test.sh GAME_DIR VERSION}
WORK=$(mktemp -d)
# shellcheck source=tests/x11-session.sh
. "$(dirname "$0")/x11-session.sh"
export OSSMIRE_NO_MESSAGEBOX=1 SDL_AUDIODRIVER=dummy HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config"
unset XDG_DATA_HOME
mkdir -p "$HOME"
cd /tmp || exit 1

# A copy of the game folder; the program itself beside the data or in bin/.
copy_game() {  # DEST
    mkdir -p "$1" && cp -r "$GAME_DIR"/. "$1"/ && rm -f "$1"/ossmire-sim "$1"/sav_*.vrk "$1"/EditMap/*
}

out=$("$GAME_DIR/ossmire" --version) || fail "--version exit $?"
[ "$out" = "ossmire $VERSION" ] || fail "--version printed '$out'"

# No data anywhere: one line naming the places, exit 1, no window.
mkdir -p "$WORK/lone/bin"
cp "$GAME_DIR/ossmire" "$WORK/lone/bin/"
"$WORK/lone/bin/ossmire" 2>"$WORK/err"
status=$?
[ $status = 1 ] || fail "no data: exit $status"
[ "$(wc -l <"$WORK/err")" = 1 ] || fail "no data: $(cat "$WORK/err")"
grep -q "$WORK/lone/bin, $WORK/lone/share/games/ossmire; .*--data-dir DIR" "$WORK/err" ||
    fail "no data: $(cat "$WORK/err")"

# Runs the game with the dummy video driver until the title has loaded the
# progress (SAVE appears), then ends it with SIGTERM: it must quit cleanly
# and at once.
run_to_title() {  # SAVE PROGRAM [OPTIONS]
    local save=$1
    shift
    SDL_VIDEODRIVER=dummy "$@" >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    for _ in $(seq 300); do [ -e "$save" ] && break; sleep 0.1; done
    [ -e "$save" ] || fail "$1: no $save"
    kill -TERM $GAME_PID
    for _ in $(seq 30); do kill -0 $GAME_PID 2>/dev/null || break; sleep 0.1; done
    kill -0 $GAME_PID 2>/dev/null && fail "$1 ignored SIGTERM"
    wait $GAME_PID
    local status=$?
    GAME_PID=
    [ $status = 0 ] || fail "$1 exit $status"
}

# An installed tree: saves in ~/.local/share/ossmire, the tree untouched; the
# settings file's bad line is named and its save-dir honoured.
copy_game "$WORK/usr/share/games/ossmire"
mkdir -p "$WORK/usr/games"
mv "$WORK/usr/share/games/ossmire/ossmire" "$WORK/usr/games/"
chmod -R a-w "$WORK/usr"
find "$WORK/usr" -printf '%p %s %T@\n' | sort >"$WORK/before"
run_to_title "$HOME/.local/share/ossmire/sav_1.vrk" "$WORK/usr/games/ossmire"
[ -d "$HOME/.local/share/ossmire/EditMap" ] || fail "installed: no EditMap in the home"
mkdir -p "$XDG_CONFIG_HOME/ossmire"
printf 'colour = blue\nsave-dir = %s\n' "$WORK/chosen" >"$XDG_CONFIG_HOME/ossmire/ossmire.conf"
run_to_title "$WORK/chosen/sav_1.vrk" "$WORK/usr/games/ossmire"
grep -q "ossmire.conf:1: no setting named 'colour'" "$WORK/game.log" || fail "settings"
find "$WORK/usr" -printf '%p %s %T@\n' | sort | diff "$WORK/before" - || fail "installed tree written"
chmod -R u+w "$WORK/usr"
rm -rf "$XDG_CONFIG_HOME"

# Signals while a message box is open: needs an X server.
if ! command -v Xvfb >/dev/null || ! start_x 800 600; then
    echo "ok (message box signals skipped: no Xvfb)"
    exit 0
fi
unset OSSMIRE_NO_MESSAGEBOX
copy_game "$WORK/damaged"
rm -f "$WORK/damaged/bitmap/play/chip.bmp"  # a damaged copy shows a box for it
for signal in TERM INT KILL; do
    SDL_VIDEODRIVER=x11 setsid "$WORK/damaged/ossmire" >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    box=
    for _ in $(seq 100); do
        box=$(pgrep -P $GAME_PID) && PIDS="$PIDS $box" && break
        sleep 0.1
    done
    # A box shown in-process has no helper; the game must end all the same.
    sleep 0.5
    alive "before SIG$signal"
    kill -$signal $GAME_PID
    for _ in $(seq 20); do kill -0 $GAME_PID 2>/dev/null || break; sleep 0.1; done
    kill -0 $GAME_PID 2>/dev/null && fail "SIG$signal with a box open: the game is still running"
    for _ in $(seq 20); do [ -n "$box" ] && kill -0 $box 2>/dev/null || break; sleep 0.1; done
    [ -n "$box" ] && kill -0 $box 2>/dev/null && fail "SIG$signal: the box outlived the game"
    wait $GAME_PID 2>/dev/null
    GAME_PID=
    echo "SIG$signal with a box open: ended${box:+, box process $box gone}"
done
echo ok
