#!/usr/bin/env bash
# The installed game on a real Wayland compositor, used as a player uses it: the client area at
# start, maximize and restore (the title bar's button on weston, the desktop's shortcuts on
# mutter), then closing, which must end the game with status 0 and nothing on stderr. The sizes
# are the compositor's: weston's scene graph, mutter's log of the protocol; the least size the
# window asks for is read from each compositor's log of the protocol. Last, the game's window asks
# the compositor itself to maximize and restore it (tests/wayland_window).
# Usage: wayland_test.sh weston|mutter BUILD_DIR BINDIR APP_ID WINDOW_DRIVER
set -euo pipefail
compositor=$1 build=$2 bindir=$3 app_id=$4 driver=$5
here=$(cd "$(dirname "$0")" && pwd)

# mutter talks to its remote-desktop clients over the session bus: a private one.
if [ "$compositor" = mutter ] && [ -z "${TALLYWICK_PRIVATE_BUS:-}" ]; then
    exec env TALLYWICK_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
for tool in weston mutter Xvfb xauth mcookie xdotool dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done

. "$here/support/started.sh"
. "$here/support/x_server.sh"
fail() {
    echo "FAIL ($compositor): $*"
    if [ -s "$work/game.err" ]; then
        echo "the game's stderr:"
        cat "$work/game.err"
    fi
    exit 1
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
program=$work/prefix/$bindir/tallywick
mkdir -m 700 "$work/runtime"
mkdir "$work/config"
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config GSETTINGS_BACKEND=memory
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
socket=tallywick-test-$$

wait_for_socket() {
    for _ in $(seq 200); do
        [ -S "$XDG_RUNTIME_DIR/$socket" ] && return 0
        sleep 0.1
    done
    fail "the compositor made no socket; its log:
$(tail -20 "$work/compositor.log")"
}

# The game as a Wayland session starts it: no platform named, Qt chooses. The compositor's log
# from here on is the game's.
start_game() {
    game_log_from=$(($(wc -l <"$work/compositor.log") + 1))
    env XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=$socket "$program" 2>"$work/game.err" &
    game=$!
    started+=("$game")
}
alive() { kill -0 "$game" 2>/dev/null; }
game_status() {
    set +e
    wait "$game"
    local status=$?
    set -e
    echo "$status"
}
# Waits up to 30 s for a condition (a command); fails when the game ends first.
wait_until() {
    local what=$1
    shift
    for _ in $(seq 150); do
        alive || fail "the game ended with status $(game_status) while waiting for: $what"
        "$@" && return 0
        sleep 0.2
    done
    fail "timed out waiting for: $what"
}
# The least size the game's window asked for is the whole window's, title bar included: the
# window may shrink to 100x100 and no further. The compositors log the protocol (WAYLAND_DEBUG).
expect_least_size() {
    local least
    least=$(tail -n +"$game_log_from" "$work/compositor.log" |
        sed -n 's/.* xdg_toplevel@[0-9]*\.set_min_size(\([0-9]*\), \([0-9]*\)).*/\1x\2/p' | tail -n 1)
    echo "least size asked for: ${least:-none}"
    [ "$least" = 100x100 ] || fail "the window asks for a least size of ${least:-none}, not 100x100"
}
# The game's window is closed as a player closes it: it must end with status 0 within 30 s.
expect_clean_exit() {
    for _ in $(seq 300); do
        alive || break
        sleep 0.1
    done
    alive && fail "the game still runs 30 s after its window was closed"
    local status
    status=$(game_status)
    [ "$status" -eq 0 ] || fail "the game ended with status $status when its window was closed"
    [ ! -s "$work/game.err" ] || fail "the game wrote to stderr"
    echo "close: exit status 0, nothing on stderr"
}
# The game's own window asks for maximize and restore; a protocol error ends it with status 1.
run_driver() {
    set +e
    env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=$socket timeout -k 10 120 "$driver" \
        >"$work/driver.out" 2>&1
    local status=$?
    set -e
    sed 's/^/window asks: /' "$work/driver.out"
    [ "$status" -eq 0 ] || fail "the window's own maximize and restore ended with status $status"
}

# weston, nested on a virtual X display so that a real pointer clicks Qt's title bar. The X screen
# is the size of weston's window, so that both agree on where the pointer is.
run_weston() {
    start_x_server 1024x768x24 || fail "Xvfb did not start"
    WAYLAND_DEBUG=server weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 \
        --socket="$socket" --debug --idle-time=0 >"$work/compositor.log" 2>&1 &
    started+=("$!")
    wait_for_socket

    # An XWayland-like session: DISPLAY is set too, and the game must still choose Wayland.
    start_game
    # The game's window as weston's scene graph shows it: where it is, the whole window's size,
    # and the client area, which Qt marks opaque (everything but its own title bar and borders).
    view() {
        rm -f "$work/scene"
        WAYLAND_DISPLAY=$socket timeout 10 weston-debug -o "$work/scene" scene-graph \
            >/dev/null 2>&1 || return 1
        local block numbers='(\(-*[0-9]*\), \(-*[0-9]*\)) -> (\(-*[0-9]*\), \(-*[0-9]*\))'
        block=$(grep -A3 -F "top-level window 'Tallywick' of $app_id" "$work/scene") || return 1
        read -r view_x view_y view_x2 view_y2 < <(sed -n "s/.*position: $numbers.*/\1 \2 \3 \4/p" <<<"$block")
        [ -n "${view_y2:-}" ] || return 1
        view_w=$((view_x2 - view_x)) view_h=$((view_y2 - view_y))
        if grep -q 'fully opaque' <<<"$block"; then
            client_w=$view_w client_h=$view_h
        else
            local a b c d
            read -r a b c d < <(sed -n "s/.*opaque: $numbers.*/\1 \2 \3 \4/p" <<<"$block")
            [ -n "${d:-}" ] || return 1
            client_w=$((c - a)) client_h=$((d - b))
        fi
    }
    report() { echo "$1: client area ${client_w}x${client_h}, window ${view_w}x${view_h} at $view_x,$view_y"; }
    # Qt's title bar is 30 pixels high; its buttons sit in its middle, the close button 17 and the
    # maximize button 40 pixels left of the window's right edge. weston moves its pointer by the X
    # pointer's steps, stopping at its output's edges, so a sweep to the far corner and back to
    # the origin first puts both pointers at the same place.
    click_title_button() {
        local x=$((view_x + view_w - $1)) y=$((view_y + 15))
        DISPLAY=$x_display xdotool mousemove 1023 767 sleep 0.2 mousemove 0 0 sleep 0.2 \
            mousemove $((x - 20)) "$y" sleep 0.2 mousemove "$x" "$y" sleep 0.3 click 1
    }
    x_display=$DISPLAY

    wait_until "the game's window on weston (app id $app_id)" view
    sleep 1
    view
    report start
    [ "${client_w}x${client_h}" = 792x566 ] || fail "the client area at start is ${client_w}x${client_h}, not 792x566"
    [ "$view_w" -le 800 ] && [ "$view_h" -le 600 ] || fail "the window at start is ${view_w}x${view_h}, over 800x600"
    expect_least_size

    # A player's pointer then moves over the board and the buttons, which redraws the window: a
    # window that did not take the maximized size is a protocol error that weston ends it for.
    move_over_game() {
        DISPLAY=$x_display xdotool mousemove 300 300 sleep 0.2 mousemove 500 420 sleep 0.2 \
            mousemove 700 300 sleep 0.2 mousemove 740 330
    }

    click_title_button 40
    move_over_game
    maximized() { view && [ "$view_w" -eq 1024 ] && [ "$view_y2" -eq 768 ]; }
    wait_until "the window maximized by its title bar's button" maximized
    sleep 1
    alive || fail "the game ended with status $(game_status) after it was maximized"
    view
    report maximized
    [ "$client_w" -ge 792 ] && [ "$client_h" -ge 566 ] ||
        fail "the maximized client area ${client_w}x${client_h} cuts the board or the buttons"

    click_title_button 40
    move_over_game
    restored() { view && [ "${client_w}x${client_h}" = 792x566 ]; }
    wait_until "the window restored to a client area of 792x566 by the same button" restored
    sleep 1
    alive || fail "the game ended with status $(game_status) after it was restored"
    view
    report restored

    click_title_button 17
    expect_clean_exit
    unset DISPLAY
    run_driver
}

# mutter headless: the desktop's shortcuts pressed through its remote-desktop service, the sizes
# read from its own log of the protocol (the game is its only client while it runs).
run_mutter() {
    WAYLAND_DEBUG=server mutter --wayland --headless --no-x11 --virtual-monitor 1024x768 \
        --wayland-display="$socket" >"$work/compositor.log" 2>&1 &
    started+=("$!")
    wait_for_socket
    start_game
    # The last of a message in the log since the game started, as "width height".
    last() { tail -n +"$game_log_from" "$work/compositor.log" | sed -n "s/$1/\1 \2/p" | tail -n 1; }
    sizes() {
        configured=$(last '.* -> xdg_toplevel@[0-9]*\.configure(\([0-9]*\), \([0-9]*\),.*')
        geometry=$(last '.* xdg_surface@[0-9]*\.set_window_geometry(-*[0-9]*, -*[0-9]*, \([0-9]*\), \([0-9]*\)).*')
        client=$(last '.* wl_region@[0-9]*\.add(-*[0-9]*, -*[0-9]*, \([0-9]*\), \([0-9]*\)).*')
    }
    report() { echo "$1: client area ${client/ /x}, window ${geometry/ /x} (mutter configured ${configured/ /x})"; }
    keys() { /usr/bin/python3 "$here/mutter_keys.py" "$@"; }
    shown() { sizes && [ -n "$geometry" ] && [ -n "$client" ]; }

    wait_until "the game's window on mutter" shown
    sleep 2
    sizes
    report start
    [ "$client" = "792 566" ] || fail "the client area at start is ${client/ /x}, not 792x566"
    read -r w h <<<"$geometry"
    [ "$w" -le 800 ] && [ "$h" -le 600 ] || fail "the window at start is ${w}x${h}, over 800x600"
    expect_least_size

    keys ffeb+ff52 # Super+Up
    maximized() { sizes && [ "$configured" = "1024 768" ]; }
    wait_until "mutter maximizing the window on Super+Up" maximized
    sleep 2
    alive || fail "the game ended with status $(game_status) after it was maximized"
    sizes
    report maximized
    [ "$geometry" = "$configured" ] ||
        fail "the maximized window is ${geometry/ /x}, not the ${configured/ /x} mutter gave it"
    read -r w h <<<"$client"
    [ "$w" -ge 792 ] && [ "$h" -ge 566 ] || fail "the maximized client area ${w}x${h} cuts the board or the buttons"

    keys ffeb+ff54 # Super+Down
    restored() { sizes && [ "$configured" != "1024 768" ] && [ "$client" = "792 566" ]; }
    wait_until "mutter restoring the window to a client area of 792x566 on Super+Down" restored
    sleep 1
    alive || fail "the game ended with status $(game_status) after it was restored"
    sizes
    report restored

    keys ffe9+ffc1 # Alt+F4
    expect_clean_exit
    run_driver
}

case $compositor in
weston) run_weston ;;
mutter) run_mutter ;;
*) echo "usage: $0 weston|mutter BUILD_DIR BINDIR APP_ID WINDOW_DRIVER"; exit 2 ;;
esac
echo "$compositor: the game started at 792x566, survived maximize and restore, and closed with status 0"
