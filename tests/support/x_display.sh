#!/usr/bin/env bash
# Runs a command in a desktop session of its own, a virtual X display and a private D-Bus session
# bus, and passes on the command's exit status (124 when it ran out of time). The X server picks a
# free display number itself and says so only once it takes connections, so runs beside each
# other never reach for the same number and nothing waits on a signal that may come early; only
# clients holding this run's cookie get in. The session bus is there because every desktop has
# one: without it, a Qt program's accessibility bridge has D-Bus start a bus of its own by forking,
# and a fork in a many-threaded sanitizer build can hang the child on the sanitizer's own lock.
# The server, and everything else this run started, is stopped when the command ends.
# Usage: x_display.sh [--screen WIDTHxHEIGHTxDEPTH] [--timeout SECONDS] -- COMMAND [ARGUMENT...]
set -euo pipefail
screen=1280x1024x24 seconds=200
while [ $# -gt 0 ]; do
    case $1 in
    --screen) screen=$2; shift 2 ;;
    --timeout) seconds=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "x_display.sh: unknown option $1"; exit 2 ;;
    esac
done
[ $# -gt 0 ] || { echo "x_display.sh: no command given"; exit 2; }
for tool in Xvfb xauth mcookie dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done

source "$(dirname "${BASH_SOURCE[0]}")/started.sh"
cookie=$(mcookie)
# The server takes every cookie in its file whatever display it names; the client's entry is
# written once the number is known.
touch "$work/server" "$work/client"
xauth -q -f "$work/server" add :0 . "$cookie"
Xvfb -displayfd 3 -auth "$work/server" -nolisten tcp -screen 0 "$screen" 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
started+=("$!")
for _ in $(seq 300); do
    [ -s "$work/display" ] && break
    kill -0 "${started[0]}" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    cat "$work/xvfb.log"
    echo "x_display.sh: Xvfb did not start"
    exit 1
fi
display=:$(cat "$work/display")
xauth -q -f "$work/client" add "$display" . "$cookie"

set +e
DISPLAY=$display XAUTHORITY=$work/client timeout -k 10 "$seconds" dbus-run-session -- "$@"
status=$?
set -e
[ "$status" -ne 124 ] || echo "x_display.sh: '$*' ran out of time after $seconds s"
exit "$status"
