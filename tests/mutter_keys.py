# Presses key combinations on a running mutter through its remote-desktop D-Bus service, as a
# player's keyboard would: each argument is one combination of X keysyms in hexadecimal, held down
# in order and let go in reverse ("ffeb+ff52" is Super+Up). Run on mutter's session bus.
import sys

from gi.repository import Gio, GLib

SERVICE = "org.gnome.Mutter.RemoteDesktop"
SESSION = SERVICE + ".Session"

bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)


def call(path, interface, method, args=None):
    return bus.call_sync(SERVICE, path, interface, method, args, None, Gio.DBusCallFlags.NONE,
                         10000, None)


# The session lives as long as this connection, so one process presses every key.
session = call("/org/gnome/Mutter/RemoteDesktop", SERVICE, "CreateSession").unpack()[0]
call(session, SESSION, "Start")
for combination in sys.argv[1:]:
    keysyms = [int(k, 16) for k in combination.split("+")]
    for keysym in keysyms:
        call(session, SESSION, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (keysym, True)))
    for keysym in reversed(keysyms):
        call(session, SESSION, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (keysym, False)))
call(session, SESSION, "Stop")
