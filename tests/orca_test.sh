#!/usr/bin/env bash
# Runs an Orca test (orca_test.py unless another is named) inside a virtual display and a private
# D-Bus session, with a home of its own so that Orca's settings and log stay out of the user's.
# Usage: orca_test.sh PROGRAM [TEST.py [SECONDS]]
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
script=${2:-orca_test.py}
exec bash "$here/support/with_session.sh" --timeout "${3:-200}" --need xdotool --need orca \
    --python 'import pyatspi' python3-pyatspi --own-home -- /usr/bin/python3 "$here/$script" "$program"
