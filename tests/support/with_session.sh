#!/usr/bin/env bash
# Runs a command on a private virtual X display inside a private D-Bus session (whose AT-SPI bus
# starts on demand), with a fresh runtime folder, all removed when the command ends.
# Usage: with_session.sh [OPTIONS] -- COMMAND [ARGUMENTS...]
#   --timeout SECONDS      ends the whole run after this long (default 200)
#   --need TOOL            fails at once, pointing to scripts/setup.sh, if TOOL is not installed
#   --python CODE PACKAGE  the same for Debian's python3: CODE must run, else PACKAGE is missing
#   --own-home             HOME is the fresh folder too (the runtime folder is inside it), so that
#                          settings and logs stay out of the user's
#   --enable-atspi         says on the AT-SPI bus that assistive technology is on, as a desktop
#                          does when a screen reader is turned on, before COMMAND starts
set -euo pipefail
seconds=200 own_home=0 enable_atspi=0
tools=(/usr/libexec/at-spi-bus-launcher)
python_checks=()
while [ $# -gt 0 ]; do
    case $1 in
    --timeout) seconds=$2; shift 2 ;;
    --need) tools+=("$2"); shift 2 ;;
    --python) python_checks+=("$2" "$3"); shift 3 ;;
    --own-home) own_home=1; shift ;;
    --enable-atspi) enable_atspi=1; shift ;;
    --) shift; break ;;
    *) echo "with_session.sh: unknown option $1"; exit 2 ;;
    esac
done
[ $# -gt 0 ] || { echo "with_session.sh: no command given"; exit 2; }

for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done
for ((i = 0; i < ${#python_checks[@]}; i += 2)); do
    /usr/bin/python3 -c "${python_checks[i]}" 2>/dev/null ||
        { echo "${python_checks[i + 1]} is missing: run scripts/setup.sh"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
settings=(XDG_RUNTIME_DIR="$work/runtime")
[ "$own_home" = 0 ] || settings+=(HOME="$work")

# What a desktop does when a screen reader is turned on: the AT-SPI bus's IsEnabled.
enable='from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
              GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))),
              None, Gio.DBusCallFlags.NONE, -1, None)'
[ "$enable_atspi" = 1 ] || enable=
env "${settings[@]}" bash "$(dirname "$0")/x_display.sh" --timeout "$seconds" -- \
    bash -c '[ -z "$0" ] || /usr/bin/python3 -c "$0" && exec "$@"' "$enable" "$@"
