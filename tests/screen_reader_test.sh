#!/usr/bin/env bash
# Runs screen_reader_test.py inside a virtual display and a private D-Bus session of its own.
# Usage: screen_reader_test.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

for tool in xvfb-run dbus-run-session xdotool /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "python3-pyatspi is missing: run scripts/setup.sh"; exit 1; }

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
# The display number search starts at a random place, so that runs beside each other (other
# tests, other builds on the same machine) do not reach for the same free number at once.
env XDG_RUNTIME_DIR="$runtime" timeout -k 10 200 \
    xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" \
    dbus-run-session -- /usr/bin/python3 "$here/screen_reader_test.py" "$program"
