#!/bin/bash
# The Debian package as a player gets it: built by scripts/package.sh,
# extracted into a scratch root and played from an unrelated folder with a
# scratch home by tests/xvfb-smoke.sh, which also holds it to one window and
# its saves in the home. (The launch test asks the game for --version.)
# Usage: package-test.sh [BUILD_DIR]    (default: build; the package is made there)
# Exits 77 (skipped) without dpkg-deb or lintian, or as xvfb-smoke.sh skips.
set -u
cd "$(dirname "$0")/.."
BUILD=${1:-build}
for tool in dpkg-deb lintian; do
    command -v "$tool" >/dev/null || { echo "skip: $tool missing"; exit 77; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
chmod 755 "$WORK"  # the game may run as nobody
fail() { echo "FAIL: $*"; exit 1; }

BUILD_DIR=$BUILD bash scripts/package.sh >"$WORK/package.log" 2>&1 ||
    { tail -20 "$WORK/package.log"; fail "scripts/package.sh"; }
DEB=$(tail -1 "$WORK/package.log")
[ -f "$DEB" ] || fail "package.sh printed no package: $DEB"
echo "package: $DEB ($(stat -c %s "$DEB") bytes)"
dpkg-deb -x "$DEB" "$WORK/root" || fail "dpkg-deb -x"

# The stage is not walked: ctest's xvfb-smoke does that with the same program.
tests/xvfb-smoke.sh "$BUILD/game" "$BUILD/test-artifacts/package" "" "$WORK/root"
