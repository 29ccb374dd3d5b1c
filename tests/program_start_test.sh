#!/usr/bin/env bash
# Starts the built game on a virtual display, once plainly and once with Qt's own options and
# stray words, and expects the same title, size and picture, and exit status 0 after each window
# is closed as a desktop closes it. Also checks the one-line message when there is no display.
# Usage: program_start_test.sh PROGRAM CLOSE_WINDOW
set -euo pipefail
program=$1 closer=$2

command -v xvfb-run >/dev/null || { echo "xvfb-run is missing: run scripts/setup.sh"; exit 1; }

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

# Inside the display: run the game with the given arguments, record its window as the closer
# sees it, close it and pass on the game's exit status (90: no window, 91: did not end).
cat >"$work/session.sh" <<'SESSION'
program=$1 closer=$2 name=$3
shift 3
"$program" "$@" 2>"$name.err" &
game=$!
if ! "$closer" tallywick 60 "$name.ppm" >"$name.txt"; then
    kill "$game" 2>/dev/null
    wait "$game"
    exit 90
fi
# The closer returns once the X server has read its request, so one request must end the game;
# it gets 30 seconds, a load-slowed exit included.
for _ in $(seq 300); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then
    kill -9 "$game"
    wait "$game"
    exit 91
fi
wait "$game"
SESSION

# XDG_RUNTIME_DIR stays unset, so Qt makes a runtime folder of its own.
run() {
    local name=$1
    shift
    set +e
    env -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR XDG_CONFIG_HOME="$work/config" \
        timeout -k 10 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
        bash "$work/session.sh" "$program" "$closer" "$work/$name" "$@"
    local status=$?
    set -e
    case $status in
    0) ;;
    90) cat "$work/$name.err"; echo "FAIL ($name): no window that accepts a close request"; exit 1 ;;
    91) cat "$work/$name.err"; echo "FAIL ($name): the game did not end within 30 s of its close request"; exit 1 ;;
    *) echo "FAIL ($name): the game ended with status $status after its window was closed"; exit 1 ;;
    esac
    echo "$name: exit status 0 after the window was closed; $(tr '\n' ' ' <"$work/$name.txt")"
}

run plain
run with_arguments -qwindowtitle Other -qwindowgeometry 300x200 -reverse \
    -stylesheet "$work/style.qss" -style windows hello 42 --help -- -x

if ! grep -qx 'title: Tallywick' "$work/plain.txt"; then
    echo "FAIL: the plain start's window is not titled Tallywick"
    exit 1
fi
if ! diff "$work/plain.txt" "$work/with_arguments.txt"; then
    echo "FAIL: the arguments changed the window's title or size"
    exit 1
fi
if ! cmp -s "$work/plain.ppm" "$work/with_arguments.ppm"; then
    echo "FAIL: the arguments changed what the window shows"
    exit 1
fi
echo "the arguments changed nothing"
