#!/usr/bin/env bash
# Installs what building (and, with --test, testing) Tockwell needs on Debian 12, then configures
# and builds it with the default preset. Packages already present are not fetched again.
set -euo pipefail
cd "$(dirname "$0")/.."

build_packages=(
    cmake ninja-build pkg-config g++ qt6-base-dev qt6-tools-dev
    libsqlite3-dev libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
    gstreamer1.0-plugins-ugly gstreamer1.0-alsa timgm6mb-soundfont
    libx11-dev libxext-dev libxtst-dev libxi-dev libxss-dev libpulse-dev libasound2-dev xdg-utils
    libglib2.0-dev libwayland-dev shared-mime-info qt6-translations-l10n
)
test_packages=(
    xvfb icewm xdotool x11-utils x11-xserver-utils imagemagick sox lame
    pulseaudio pulseaudio-utils dbus python3-dbusmock python3-gi dpkg-dev desktop-file-utils
    clang libclang-rt-14-dev clang-format clang-tidy shellcheck
    xserver-xorg-core xserver-xorg-video-dummy libfaketime sway xwayland wev mutter pipewire
    kwin-wayland
)

packages=("${build_packages[@]}")
if [[ "${1:-}" == "--test" ]]; then
    packages+=("${test_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

cmake --preset default >/dev/null
cmake --build --preset default
