#!/usr/bin/env bash
# Installs every Debian package that Brumbly needs to build, test and run.
# Does nothing (and does not touch apt) when all of them are already installed.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libboost-serialization-dev libboost-date-time-dev
    libglm-dev libassimp-dev libfreeimage-dev libfreeimageplus-dev
    libglfw3-dev libglew-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
    libbullet-dev qt6-base-dev qt6-qpa-plugins libfreetype-dev fonts-liberation
    xvfb xauth x11-apps xdotool netpbm libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev libopenal-dev desktop-file-utils dpkg-dev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
