#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, with Qt on its X11 platform: for the tests that
# need what only a real X server has, such as the selection the middle button pastes.
# Usage: on_x_display.sh COMMAND [ARGUMENT...]
set -euo pipefail
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing: run scripts/setup.sh"; exit 1; }
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
# The display number search starts at a random place, so that runs beside each other do not
# reach for the same free number at once.
env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" timeout -k 10 200 \
    xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" "$@"
