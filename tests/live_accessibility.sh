#!/usr/bin/env bash
# Runs a test program on a virtual X display with a private D-Bus session whose AT-SPI bus says
# that assistive technology is on, so that Qt's bridge is live and the change notices screen
# readers get can be watched from inside the program.
# Usage: live_accessibility.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
for tool in xvfb-run dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done
/usr/bin/python3 -c 'from gi.repository import Gio' 2>/dev/null ||
    { echo "python3-gi is missing: run scripts/setup.sh"; exit 1; }
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
# What a desktop does when a screen reader is turned on: the AT-SPI bus's IsEnabled.
enable='from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
              GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))),
              None, Gio.DBusCallFlags.NONE, -1, None)'
env XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb \
    timeout -k 10 120 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" \
    dbus-run-session -- bash -c '/usr/bin/python3 -c "$0" && exec "$@"' "$enable" "$@"
