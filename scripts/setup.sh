#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Tavimark needs to build, run and test, when any
# of them is missing. Safe to run again: with everything present it does
# nothing. It needs only bash and apt, so ./run and ./test call it before make
# exists; make itself is in the list.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-webengine-dev libqt6webenginecore6-bin qt6-svg-dev libqt6svg6 qt6-pdf-dev
    libcups2-dev cups-daemon cups-client
    libx11-dev libgl-dev
    fonts-liberation fonts-dejavu-core
    libqpdf-dev libqpdf29
    fonts-wqy-microhei
    xvfb xauth xdotool poppler-utils
    librsvg2-bin desktop-file-utils appstream
    man-db groff-base
    dpkg-dev file lintian
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
        echo "These packages are missing: ${missing[*]}" >&2
        echo "Installing them needs root: run this again as root, or install sudo." >&2
        exit 1
    fi
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
# sudo drops the caller's environment, so the frontend goes on the command.
$sudo apt-get update -q
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
