#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quendal need, when any is
# missing. Idempotent: it runs apt-get update only when something must be installed.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-charts-dev libgl-dev libfontconfig-dev
    libsdl2-dev libshp-dev libxcb1-dev libxcb-randr0-dev libxcb-damage0-dev libx11-dev libxtst-dev
    libcups2-dev
    cups printer-driver-cups-pdf
    poppler-utils dbview
    fonts-liberation2 xvfb xauth xdotool faketime
    weston xwayland qt6-wayland
    clang libclang-rt-14-dev
    desktop-file-utils appstream man-db bash-completion
    dpkg-dev lintian fakeroot file
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "need root or sudo to install ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}"
