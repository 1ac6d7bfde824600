#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Jigtally need.
set -euo pipefail
packages=(
    build-essential cmake ninja-build
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    clang-14 libclang-rt-14-dev
    python3 python3-dbf
    libfreexl-dev libxlsxwriter-dev libminizip-dev
    fonts-liberation2 fonts-dejavu-core
    python3-openpyxl python3-xlwt poppler-utils
    clang-format xvfb xauth openbox libxcb1-dev xdotool
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
