#!/usr/bin/env bash
# Runs screen_reader_test.py inside a virtual display and a private D-Bus session of its own.
# Usage: screen_reader_test.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
exec bash "$here/support/with_session.sh" --timeout 200 --need xdotool \
    --python 'import pyatspi' python3-pyatspi -- /usr/bin/python3 "$here/screen_reader_test.py" "$program"
