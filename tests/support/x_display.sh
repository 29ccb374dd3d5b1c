#!/usr/bin/env bash
# Runs a command in a desktop session of its own, a virtual X display (support/x_server.sh) and a
# private D-Bus session bus, and passes on the command's exit status (124 when it ran out of
# time). The session bus is there because every desktop has one: without it, a Qt program's
# accessibility bridge has D-Bus start a bus of its own by forking, and a fork in a many-threaded
# sanitizer build can hang the child on the sanitizer's own lock. The server, and everything else
# this run started, is stopped when the command ends.
# Usage: x_display.sh [--timeout SECONDS] -- COMMAND [ARGUMENT...]
set -euo pipefail
seconds=200
while [ $# -gt 0 ]; do
    case $1 in
    --timeout) seconds=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "x_display.sh: unknown option $1"; exit 2 ;;
    esac
done
[ $# -gt 0 ] || { echo "x_display.sh: no command given"; exit 2; }
for tool in Xvfb xauth mcookie dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done

here=$(dirname "${BASH_SOURCE[0]}")
source "$here/started.sh"
source "$here/x_server.sh"
start_x_server 1280x1024x24 || { echo "x_display.sh: Xvfb did not start"; exit 1; }

set +e
timeout -k 10 "$seconds" dbus-run-session -- "$@"
status=$?
set -e
[ "$status" -ne 124 ] || echo "x_display.sh: '$*' ran out of time after $seconds s"
exit "$status"
