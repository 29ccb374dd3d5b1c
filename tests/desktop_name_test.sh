#!/usr/bin/env bash
# A dock matches an X11 window to its menu entry by the window's class (the second string of
# WM_CLASS) and the entry's StartupWMClass: the installed game, started from a terminal on a
# virtual display, must carry the class its installed entry names, whatever the program file is
# called. (On Wayland the app id is the entry's name; the Wayland tests look for it.)
# Usage: desktop_name_test.sh BUILD_DIR BINDIR APP_ID CLOSE_WINDOW
set -euo pipefail
build=$1 bindir=$2 app_id=$3 closer=$4

support=$(dirname "$0")/support
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
entry=$work/prefix/share/applications/$app_id.desktop
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wm_class" ] || { echo "FAIL: the menu entry names no StartupWMClass"; exit 1; }
# A link under another name, as a packager's wrapper or a player's shortcut may start it.
ln -s "$work/prefix/$bindir/tallywick" "$work/tallywick-link"

for program in "$work/prefix/$bindir/tallywick" "$work/tallywick-link"; do
    name=${program##*/}
    set +e
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work" \
        bash "$support/x_display.sh" --timeout 120 -- \
        bash "$support/close_session.sh" "$closer" "$work/$name" "$program"
    status=$?
    set -e
    [ "$status" -eq 0 ] || { echo "FAIL: $name's session ended with status $status"; exit 1; }
    # class: "instance", "class"
    recorded=$(sed -n 's/^class: //p' "$work/$name.txt")
    class=$(sed -n 's/^"[^"]*", "\([^"]*\)"$/\1/p' <<<"$recorded")
    if [ "$class" != "$wm_class" ]; then
        echo "FAIL: $name's window has the class '$class', the menu entry names '$wm_class' ($recorded)"
        exit 1
    fi
    echo "$name: WM_CLASS $recorded, as the menu entry's StartupWMClass says"
done
