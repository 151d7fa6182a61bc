#!/bin/bash
# What `cmake --install` writes: the game alone among the programs, and the
# desktop entry (desktop-file-validate), the AppStream metainfo (appstreamcli,
# offline), the manual page (man's warnings) and every icon size.
# Usage: dist-check.sh BUILD_DIR
# Exits 77 (skipped) without desktop-file-validate, appstreamcli or man.
set -u
BUILD=${1:?usage: dist-check.sh BUILD_DIR}
for tool in desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "skip: $tool missing"; exit 77; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
status=0

cmake --install "$BUILD" --prefix "$WORK/usr" >/dev/null || exit 1
programs=$(cd "$WORK/usr" && find . -type f -perm -u+x | sort | tr '\n' ' ')
[ "$programs" = "./games/ossmire " ] || { echo "installed programs: $programs"; status=1; }
desktop-file-validate "$WORK"/usr/share/applications/*.desktop || status=1
grep -qx "Exec=$WORK/usr/games/ossmire" "$WORK"/usr/share/applications/*.desktop ||
    { echo "the desktop entry does not start the installed game"; status=1; }
appstreamcli validate --no-net "$WORK"/usr/share/metainfo/*.metainfo.xml || status=1
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$WORK/usr/share/man/man6/ossmire.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "man: $warnings"; status=1; }
for size in 16 22 24 32 48 64 128 256; do
    png=$WORK/usr/share/icons/hicolor/${size}x${size}/apps/ossmire.png
    file "$png" | grep -q "PNG image data, $size x $size," || { echo "icon $png"; status=1; }
done
[ -f "$WORK/usr/share/icons/hicolor/scalable/apps/ossmire.svg" ] || { echo "no scalable icon"; status=1; }
exit $status
