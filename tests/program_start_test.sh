#!/usr/bin/env bash
# Starts the built game on a virtual display, once plainly and once with Qt's own options and
# stray words, and expects the same title, size, size limits and picture, and exit status 0 after
# each window is closed as a desktop closes it. Also checks the one-line message when there is no
# display.
# Usage: program_start_test.sh PROGRAM CLOSE_WINDOW
set -euo pipefail
program=$1 closer=$2

support=$(dirname "$0")/support
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config"
printf 'QWidget { background: red; }\n' >"$work/style.qss"

# Without a display the game says so in one line and ends with status 1.
set +e
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >"$work/out" 2>"$work/err"
status=$?
set -e
lines=$(wc -l <"$work/err")
if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q 'no display' "$work/err"; then
    echo "FAIL: without a display the game ended with $status and said:"
    cat "$work/err"
    exit 1
fi
# The way to run it headless names the program as it was started, wherever it lies.
if [ "$(grep -oF -- "xvfb-run -a $program" "$work/err")" != "xvfb-run -a $program" ]; then
    echo "FAIL: the no-display message does not say how to start $program headless:"
    cat "$work/err"
    exit 1
fi

# XDG_RUNTIME_DIR stays unset, so Qt makes a runtime folder of its own.
run() {
    local name=$1
    shift
    set +e
    env -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR XDG_CONFIG_HOME="$work/config" \
        bash "$support/x_display.sh" --timeout 120 -- \
        bash "$support/close_session.sh" "$closer" "$work/$name" "$program" "$@"
    local status=$?
    set -e
    [ "$status" -eq 0 ] || { echo "FAIL ($name): the session ended with status $status"; exit 1; }
    echo "$name: exit status 0 after the window was closed; $(tr '\n' ' ' <"$work/$name.txt")"
}

run plain
run with_arguments -qwindowtitle Other -qwindowgeometry 300x200 -reverse \
    -stylesheet "$work/style.qss" -style windows hello 42 --help -- -x

if ! grep -qx 'title: Tallywick' "$work/plain.txt"; then
    echo "FAIL: the plain start's window is not titled Tallywick"
    exit 1
fi
# The client area may shrink to 92x66 and grow to 792x566 and no further: the window manager's
# frame comes on top, so that the whole window stays between 100x100 and 800x600.
if ! grep -qx 'limits: least 92x66, most 792x566' "$work/plain.txt"; then
    echo "FAIL: the window asks for other size limits than a 92x66 to 792x566 client area:"
    grep '^limits:' "$work/plain.txt" || echo "(no limits read)"
    exit 1
fi
window() { grep -E '^(title|size|limits|class): ' "$work/$1.txt"; } # not the X window id, which varies
if ! diff <(window plain) <(window with_arguments); then
    echo "FAIL: the arguments changed the window's title or size"
    exit 1
fi
if ! cmp -s "$work/plain.ppm" "$work/with_arguments.ppm"; then
    echo "FAIL: the arguments changed what the window shows"
    exit 1
fi
echo "the arguments changed nothing"
