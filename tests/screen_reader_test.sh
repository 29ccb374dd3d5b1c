#!/usr/bin/env bash
# Runs a screen-reader test (screen_reader_test.py unless another is named) inside a virtual
# display and a private D-Bus session of its own.
# Usage: screen_reader_test.sh PROGRAM [TEST.py [SECONDS]]
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
script=${2:-screen_reader_test.py}
exec bash "$here/support/with_session.sh" --timeout "${3:-200}" --need xdotool \
    --python 'import pyatspi' python3-pyatspi -- /usr/bin/python3 "$here/$script" "$program"
