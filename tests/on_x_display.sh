#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, with Qt on its X11 platform: for the tests that
# need what only a real X server has, such as the selection the middle button pastes.
# Usage: on_x_display.sh COMMAND [ARGUMENT...]
set -euo pipefail
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" \
    bash "$(dirname "$0")/support/x_display.sh" --timeout 200 -- "$@"
