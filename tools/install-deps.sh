#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing.
set -euo pipefail
packages=(
    build-essential cmake pkg-config
    libsdl2-dev libepoxy-dev libglm-dev libstb-dev libjpeg62-turbo-dev libvorbis-dev libopenmpt-dev
    libcairo2-dev libfreetype-dev fonts-dejavu-core gettext python3
    googletest libgtest-dev libbenchmark-dev
    xvfb xdotool x11-xkb-utils imagemagick libgl1-mesa-dri x11-utils libx11-dev sox
    desktop-file-utils appstream man-db librsvg2-bin dpkg-dev file lintian
    clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
