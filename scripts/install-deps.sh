#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Ossmire
# need. Idempotent; quiet when everything is already there.
set -euo pipefail

PACKAGES=(
  g++ clang libclang-rt-14-dev cmake ninja-build pkg-config python3
  libgtest-dev
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfontconfig-dev zlib1g-dev
  librsvg2-bin imagemagick
  fonts-ipafont-mincho fonts-ipafont-gothic fonts-noto-cjk fonts-reggae fonts-dejavu-core
  fluidsynth fluid-soundfont-gm espeak-ng
  xvfb xdotool openbox x11-utils
  dpkg-dev file lintian desktop-file-utils appstream man-db
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
