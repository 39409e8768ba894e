#!/usr/bin/env bash
# Installs the Debian packages Tavimark needs to build, run and test, when any
# of them is missing. Safe to run again: with everything present it does
# nothing.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-webengine-dev libqt6webenginecore6-bin qt6-svg-dev libqt6svg6
    libcups2-dev cups-daemon cups-client
    libx11-dev libgl-dev
    fonts-liberation
    xvfb xauth xdotool poppler-utils
    librsvg2-bin desktop-file-utils appstream
    dpkg-dev file
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
