#!/usr/bin/env bash
# Installs the Debian packages that building and running Tallywick need, and with --tests those
# the tests, the benchmarks, the screenshots and the other builds need too, but only those that
# are missing, so a second run costs nothing.
# Usage: setup.sh [--tests]
set -euo pipefail

# Building the game (the build's configure step includes the tests' window closer, which talks
# to X through libxcb) and running it: its fonts, and Qt's Wayland platform for Wayland desktops.
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev libxcb1-dev
  qt6-wayland
  fonts-comic-neue fonts-dancingscript fonts-liberation2 fonts-dejavu-core
)
if [ "${1:-}" = --tests ]; then
  packages+=(
    clang libclang-rt-14-dev
    libbenchmark-dev
    xvfb xauth
    dpkg-dev file desktop-file-utils appstream lintian man-db devscripts
    dbus-daemon at-spi2-core python3-pyatspi xdotool
    orca
    weston mutter python3-gi x11-utils
  )
elif [ $# -gt 0 ]; then
  echo "setup.sh: unknown option $1" >&2
  exit 2
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
