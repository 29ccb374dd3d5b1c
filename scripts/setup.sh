#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tallywick need,
# but only those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libbenchmark-dev
  xvfb xauth
  dpkg-dev file desktop-file-utils appstream libxcb1-dev lintian man-db devscripts
  qt6-svg-dev
  dbus-daemon at-spi2-core python3-pyatspi xdotool
  orca
  qt6-wayland weston mutter python3-gi x11-utils
  fonts-comic-neue fonts-dancingscript fonts-liberation2 fonts-dejavu-core
)

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
