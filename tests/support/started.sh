# Sourced by a script that starts processes: gives it a scratch folder, $work, and a list, started,
# of the pids it started. On exit those alone are stopped, the newest first, and the folder goes.
# Everything the script starts, directly or through a bus or a reader it started (a bus's
# services, a speech server), carries $work in its environment as TALLYWICK_TEST_RUN; whatever
# carries it and still runs a few seconds after the stop is a leftover, which fails the run.
work=$(mktemp -d)
started=()
export TALLYWICK_TEST_RUN=$work

# Sets `left` to the pids of the processes of this run that still run, this script aside. Reads
# /proc without starting a process, which would carry the mark itself.
find_left() {
    local environ pid entry
    left=()
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/} pid=${pid%/environ}
        [ "$pid" != $$ ] || continue
        while IFS= read -r -d '' entry; do
            if [ "$entry" = "TALLYWICK_TEST_RUN=$work" ]; then
                left+=("$pid")
                break
            fi
        done 2>/dev/null <"$environ" || true
    done
}

stop_started() {
    local status=$? i
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        kill "${started[i]}" 2>/dev/null || true
        wait "${started[i]}" 2>/dev/null || true
    done
    # A bus's services end a moment after the bus.
    for i in $(seq 50); do
        find_left
        [ "${#left[@]}" -gt 0 ] || break
        sleep 0.1
    done
    if [ "${#left[@]}" -gt 0 ]; then
        echo "FAIL: still running 5 s after the run ended, started by it:"
        ps -o pid=,args= -p "$(
            IFS=,
            echo "${left[*]}"
        )" || true
        # A speech server may not heed the first request.
        kill "${left[@]}" 2>/dev/null || true
        sleep 1
        kill -9 "${left[@]}" 2>/dev/null || true
        status=1
    fi
    rm -rf "$work"
    exit "$status"
}
trap stop_started EXIT
