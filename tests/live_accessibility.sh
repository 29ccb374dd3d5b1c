#!/usr/bin/env bash
# Runs a test program on a virtual X display with a private D-Bus session whose AT-SPI bus says
# that assistive technology is on, so that Qt's bridge is live and the change notices screen
# readers get can be watched from inside the program.
# Usage: live_accessibility.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
QT_QPA_PLATFORM=xcb exec bash "$here/support/with_session.sh" --timeout 120 \
    --python 'from gi.repository import Gio' python3-gi --enable-atspi -- "$@"
