#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Returns at once when every package is already installed.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-translations-l10n
    libgtest-dev libgmock-dev
    acl
    fonts-ipafont-gothic
    xvfb xdotool x11-utils x11-apps xclip python3 poppler-utils
    dpkg-dev desktop-file-utils xdg-utils
    fcitx5 fcitx5-mozc fcitx5-frontend-qt6 dbus-daemon dbus-bin
    libqscintilla2-qt6-dev vim  # bench/ only: the editors tw_bench_peers compares with
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]}" >&2
    echo "install-deps: run as root (or with sudo) to install them" >&2
    exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
