#!/usr/bin/env bash
# A dock matches an X11 window to its menu entry by the window's class (the second string of
# WM_CLASS) and the entry's StartupWMClass: the installed game, started from a terminal on a
# virtual display, must carry the class its installed entry names, whatever the program file is
# called. (On Wayland the app id is the entry's name; the Wayland tests look for it.)
# Usage: desktop_name_test.sh BUILD_DIR BINDIR APP_ID CLOSE_WINDOW
set -euo pipefail
build=$1 bindir=$2 app_id=$3 closer=$4

command -v xvfb-run >/dev/null || { echo "xvfb-run is missing: run scripts/setup.sh"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
entry=$work/prefix/share/applications/$app_id.desktop
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wm_class" ] || { echo "FAIL: the menu entry names no StartupWMClass"; exit 1; }
# A link under another name, as a packager's wrapper or a player's shortcut may start it.
ln -s "$work/prefix/$bindir/tallywick" "$work/tallywick-link"

cat >"$work/session.sh" <<'SESSION'
program=$1 closer=$2 out=$3
"$program" 2>/dev/null &
game=$!
# xdotool finds the window by its instance name (the program's file name) regardless of case;
# xprop reads the class exactly.
window=$(xdotool search --sync --limit 1 --classname "^${program##*/}\$")
xprop -id "$window" WM_CLASS >"$out"
"$closer" "${program##*/}" 30 >/dev/null
wait "$game"
SESSION

for program in "$work/prefix/$bindir/tallywick" "$work/tallywick-link"; do
    set +e
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work" \
        timeout -k 10 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
        bash "$work/session.sh" "$program" "$closer" "$work/wm_class"
    status=$?
    set -e
    [ "$status" -eq 0 ] || { echo "FAIL: ${program##*/} ended with status $status"; exit 1; }
    # WM_CLASS(STRING) = "instance", "class"
    class=$(sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p' "$work/wm_class")
    if [ "$class" != "$wm_class" ]; then
        echo "FAIL: ${program##*/}'s window has the class '$class', the menu entry names '$wm_class' ($(cat "$work/wm_class"))"
        exit 1
    fi
    echo "${program##*/}: $(cat "$work/wm_class"), as the menu entry's StartupWMClass says"
done
