#!/bin/sh
# Installs the Debian 12 packages needed to build, run and test Java Reelcraft.
# Run as root (or through sudo).
set -eu
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$@"
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
    build-essential cmake ninja-build pkg-config \
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-image-formats-plugins libqt6svg6 \
    libgl1-mesa-dev \
    clang libclang-rt-14-dev \
    openjdk-17-jdk \
    libc-ares-dev libcurl4-openssl-dev \
    dnsmasq-base python3-aiosmtpd iproute2 util-linux hostname \
    xvfb xauth x11-utils dbus dbus-x11 openbox xdg-desktop-portal libxcb1-dev \
    imagemagick desktop-file-utils groff-base \
    dpkg-dev file lintian appstream xdotool \
    fonts-dejavu-core \
    chromium
# The web player's tests need Node.js and npm; some machines bring their own.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    apt-get install -y --no-install-recommends nodejs npm
fi
