#!/usr/bin/env bash
# Builds the game's Debian package with CPack and checks it with lintian (no
# errors allowed). The last line printed is the path of the package.
# Usage: scripts/package.sh [CMAKE OPTIONS]    BUILD_DIR (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
bash scripts/build.sh "$@"
build=$(cd "$build" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/package/ossmire_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
(cd "$build" && cpack -G DEB)
[ -f "$deb" ] || { echo "package.sh: cpack made no $deb" >&2; exit 1; }
# lintian warns that it runs as root on CI; its verdict is its exit status.
lintian --fail-on error "$deb" 2>&1 | { grep -v 'running with root privileges' || true; }
echo "$deb"
