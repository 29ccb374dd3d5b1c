#!/usr/bin/env bash
# Photographs the game on a headless weston at output scale 1 and 2 with weston's own screenshooter:
# docs/wayland-scale-1.png and docs/wayland-scale-2.png (the whole output, 1024 by 768 logical
# pixels, the game's window on weston's desktop).
# Usage: scripts/wayland-screenshots.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
for tool in weston weston-screenshooter; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done

. "$root/tests/support/started.sh"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work
unset QT_QPA_PLATFORM DISPLAY

for scale in 1 2; do
    socket=tallywick-shot-$$-$scale
    weston --backend=headless-backend.so --use-pixman --width=1024 \
        --height=768 --scale="$scale" --socket="$socket" --debug --idle-time=0 \
        >"$work/weston-$scale.log" 2>&1 &
    weston=$!
    started+=("$weston")
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
        sleep 0.1
    done
    XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=$socket "$build/tallywick" &
    game=$!
    started+=("$game")
    # Long enough for the window to be placed and drawn at the output's scale.
    sleep 3
    rm -f "$work"/wayland-screenshot-*.png
    (cd "$work" && WAYLAND_DISPLAY=$socket weston-screenshooter)
    mv "$work"/wayland-screenshot-*.png "$root/docs/wayland-scale-$scale.png"
    echo "docs/wayland-scale-$scale.png"
    kill "$game" "$weston"
    wait "$game" "$weston" 2>/dev/null || true
    started=()
done
