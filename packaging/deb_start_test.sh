#!/usr/bin/env bash
# Unpacks the Debian package, starts its program on a virtual display, closes the window as a
# desktop would and expects the program to exit with status 0.
# Usage: deb_start_test.sh DEB_DIR CLOSE_WINDOW
set -euo pipefail
dir=$1 closer=$2
. "$(dirname "$0")/deb_common.sh"

find_deb "$dir"
need xvfb-run
unpack_deb
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"

# Inside the display: start the game, close its window, then wait (bounded) for it to end.
cat >"$work/session.sh" <<'SESSION'
program=$1 closer=$2
"$program" &
game=$!
if ! "$closer" tallywick 60; then
    kill "$game" 2>/dev/null
    wait "$game"
    exit 90
fi
# The closer returns once the X server has read its request, so one request must end the game;
# it gets 30 seconds, a load-slowed exit included.
for _ in $(seq 300); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then
    echo "the game is still running 30 s after its close request"
    kill -9 "$game"
    wait "$game"
    exit 91
fi
wait "$game"
SESSION

set +e
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    timeout -k 10 150 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" \
    bash "$work/session.sh" "$work/root/usr/games/tallywick" "$closer"
status=$?
set -e

case $status in
0) echo "the packaged game started and exited 0 when its window was closed" ;;
90) echo "FAIL: the packaged game showed no window that accepts a close request" ;;
91) echo "FAIL: the packaged game did not exit after its window was closed" ;;
124) echo "FAIL: the run did not finish in time" ;;
*) echo "FAIL: the packaged game exited with status $status" ;;
esac
exit "$status"
