#!/usr/bin/env bash
# Unpacks the Debian package, starts its program on a virtual display, closes the window as a
# desktop would and expects the program to exit with status 0.
# Usage: deb_start_test.sh DEB_DIR CLOSE_WINDOW
set -euo pipefail
dir=$1 closer=$2
. "$(dirname "$0")/deb_common.sh"

find_deb "$dir"
support=$(dirname "$0")/../tests/support
unpack_deb
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"

set +e
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    bash "$support/x_display.sh" --timeout 150 -- \
    bash "$support/close_session.sh" "$closer" "$work/session" "$work/root/usr/games/tallywick"
status=$?
set -e
if [ "$status" -ne 0 ]; then
    echo "FAIL: the packaged game's session ended with status $status"
    exit 1
fi
echo "the packaged game started and exited 0 when its window was closed"
