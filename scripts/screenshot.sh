#!/usr/bin/env bash
# Renders the window headlessly to PNG files under docs/ (or the folder given second).
set -euo pipefail
build=${1:-build}
out=${2:-docs}
cmake --build "$build" --target screenshots -j "$(nproc)" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/tools/screenshots/screenshots" "$out"
