#!/usr/bin/env bash
# Captures the boards of a few puzzles on a virtual display and writes each beside the same
# board through simulated protanopia, deuteranopia and tritanopia, as PNG files under docs/.
# Usage: colour-vision.sh [BUILD [FOLDER [PUZZLE...]]]
set -euo pipefail
build=${1:-build}
out=${2:-docs}
shift $(($# < 2 ? $# : 2))
if [ $# -eq 0 ]; then
    set -- 22 40 114
fi
cmake --build "$build" --target colour_vision -j "$(nproc)" >/dev/null
QT_QPA_PLATFORM=xcb bash "$(dirname "$0")/../tests/support/x_display.sh" -- \
    "$build/tools/screenshots/colour_vision" "$out" "$@"
