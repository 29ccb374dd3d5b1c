#!/usr/bin/env bash
# Redraws the game's pictures: builds the picture generator and runs it into resources/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-pictures}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DTALLYWICK_GAME=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target picture_generator -j 2
QT_QPA_PLATFORM=offscreen "$build/tools/pictures/picture_generator" "$root/resources"
