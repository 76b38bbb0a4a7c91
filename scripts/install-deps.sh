#!/usr/bin/env bash
# Installs the Debian 12 packages Keyloom needs to build, test and run, when
# they are missing. Pass extra package names to install those too.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config ccache
          libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-svg-dev fonts-dejavu-core nlohmann-json3-dev libudev-dev
          libfontconfig-dev
          xvfb xdotool fonts-wqy-microhei python3-pyatspi at-spi2-core dbus libsystemd-dev
          weston qt6-wayland "$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
