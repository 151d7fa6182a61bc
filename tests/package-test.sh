#!/bin/bash
# The Debian package as a player gets it: built by scripts/package.sh,
# extracted into a scratch root, its game asked for --version, then started
# in a virtual X server from an unrelated working directory with HOME at a
# scratch directory. RULE from the title to the first rule stage; there must
# be one window and no message box, the saves must appear under the scratch
# home's .local/share/ossmire, and nothing may be written under the extracted
# tree.
# Usage: package-test.sh [BUILD_DIR]    (default: build; the package is made there)
# Exits 77 (skipped) without Xvfb, openbox, xdotool, xprop, dpkg-deb or lintian.
set -u
cd "$(dirname "$0")/.."
BUILD=${1:-build}

for tool in Xvfb openbox xdotool xprop dpkg-deb lintian; do
    command -v "$tool" >/dev/null || { echo "skip: $tool missing"; exit 77; }
done

WORK=$(mktemp -d)
# shellcheck source=tests/x11-session.sh
. tests/x11-session.sh

BUILD_DIR=$BUILD bash scripts/package.sh >"$WORK/package.log" 2>&1 ||
    { tail -20 "$WORK/package.log"; fail "scripts/package.sh"; }
DEB=$(tail -1 "$WORK/package.log")
[ -f "$DEB" ] || fail "package.sh printed no package: $DEB"
echo "package: $DEB ($(stat -c %s "$DEB") bytes)"

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT" || fail "dpkg-deb -x"
GAME=$ROOT/usr/games/ossmire
[ -x "$GAME" ] || fail "no usr/games/ossmire in the package"

# Every file of the extracted tree with its size and time: the game must
# leave them as they are.
snapshot() { (cd "$ROOT" && find . -printf '%p %s %T@\n' | sort); }
snapshot >"$WORK/before"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
out=$(cd / && env -u DISPLAY timeout 10 "$GAME" --version 2>"$WORK/version.err")
status=$?
[ "$status" -eq 0 ] || { cat "$WORK/version.err"; fail "--version: exit status $status"; }
[ "$out" = "ossmire $version" ] || fail "--version printed '$out', not 'ossmire $version'"
echo "--version: $out"

start_x 1024 768 || { echo "skip: no free display for Xvfb"; exit 77; }

# The windows the window manager manages, one a line: the game's alone,
# never a dialog (a message box may have no title at all).
windows() {
    local w
    for w in $(xprop -root _NET_CLIENT_LIST | sed -n 's/.*# //p' | tr -d ,); do
        echo "$w $(xprop -id "$w" WM_NAME _NET_WM_WINDOW_TYPE | sed 's/^[^=]*= //' | tr '\n' ' ')"
    done
}
one_window() {
    local list
    list=$(windows)
    [ "$(echo "$list" | wc -l)" -eq 1 ] && echo "$list" | grep -q ' "Ossmire" _NET_WM_WINDOW_TYPE_NORMAL' ||
        fail "$1: the windows are not the game's alone:
$list"
}

# A player cannot write to an installed tree; root can, so as root the game
# runs as nobody.
AS_PLAYER=
mkdir -p "$WORK/home" "$WORK/elsewhere"
if [ "$(id -u)" -eq 0 ]; then
    AS_PLAYER="setpriv --reuid=65534 --regid=65534 --clear-groups"
    chmod 755 "$WORK"
    chown 65534:65534 "$WORK/home" "$WORK/elsewhere"
fi
(cd "$WORK/elsewhere" && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$WORK/home" \
    SDL_AUDIODRIVER=dummy $AS_PLAYER "$GAME") >"$WORK/game.log" 2>&1 &
GAME_PID=$!

find_window
sleep 1
one_window "the title"

# Z opens the doors, Down and Z take NEWGAME, X skips chapters 4 and 5, and
# the course's first stage, set up, saves the progress. Generous waits: no
# picture is compared here.
tap z
sleep 3
tap Down
sleep 0.5
tap z
sleep 3
tap x
sleep 3
tap x
sleep 5
alive "during NEWGAME"
one_window "the first course stage"

SAVES=$WORK/home/.local/share/ossmire
[ -s "$SAVES/sav_1.vrk" ] || fail "no progress file in $SAVES: $(ls -A "$SAVES" 2>&1)"
echo "saves: $(cd "$SAVES" && ls -A | tr '\n' ' ')"
[ -z "$(ls -A "$WORK/elsewhere")" ] || fail "files in the working directory: $(ls -A "$WORK/elsewhere")"

quit_with_esc

snapshot >"$WORK/after"
diff "$WORK/before" "$WORK/after" >"$WORK/changed" ||
    { cat "$WORK/changed"; fail "the game wrote under the extracted tree"; }
echo "PASS"
