# Sourced after started.sh. start_x_server SCREEN starts a virtual X server (Xvfb, added to
# `started`) with a screen of SCREEN (WIDTHxHEIGHTxDEPTH). The server picks a free display number
# itself and reports it through -displayfd only once it takes connections, so runs beside each
# other never reach for the same number and nothing waits on a signal that may come early. Only
# clients holding this run's cookie get in: on return DISPLAY and XAUTHORITY are exported for
# them. If the server does not start, it prints the server's log and returns 1.
start_x_server() {
    local screen=$1 cookie server
    cookie=$(mcookie)
    # The server takes every cookie in its file whatever display it names; the client's entry is
    # written once the number is known.
    touch "$work/x-server-auth" "$work/x-client-auth"
    xauth -q -f "$work/x-server-auth" add :0 . "$cookie"
    Xvfb -displayfd 3 -auth "$work/x-server-auth" -nolisten tcp -screen 0 "$screen" \
        3>"$work/x-display" >"$work/xvfb.log" 2>&1 &
    server=$!
    started+=("$server")
    for _ in $(seq 300); do
        [ -s "$work/x-display" ] && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$work/x-display" ]; then
        cat "$work/xvfb.log"
        return 1
    fi
    export DISPLAY=:$(cat "$work/x-display") XAUTHORITY=$work/x-client-auth
    xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie"
}
