#!/usr/bin/env bash
# Runs orca_test.py inside a virtual display and a private D-Bus session, with a home of its own
# so that Orca's settings and log stay out of the user's.
# Usage: orca_test.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

for tool in xvfb-run dbus-run-session xdotool orca /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "python3-pyatspi is missing: run scripts/setup.sh"; exit 1; }

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
env HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
    timeout -k 10 200 \
    xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" \
    dbus-run-session -- /usr/bin/python3 "$here/orca_test.py" "$program" "$home"
