# Sourced by a script that starts processes: gives it a scratch folder, $work, and a list, started,
# of the pids it started. On exit those alone are stopped, the newest first, and the folder goes.
# All it starts, itself or through a bus or a reader (a bus's services, a speech server), carries
# TALLYWICK_TEST_RUN=$work; what still runs 5 s after the stop fails the run and is killed.
work=$(mktemp -d)
started=()
export TALLYWICK_TEST_RUN=$work
# Sets `left` to the pids of this run's processes but this script, reading /proc in the shell
# itself (a process started to read it would carry the mark too).
find_left() {
    local environ entry
    left=()
    for environ in /proc/[0-9]*/environ; do
        [ "$environ" != "/proc/$$/environ" ] || continue
        while IFS= read -r -d '' entry; do
            [ "$entry" != "TALLYWICK_TEST_RUN=$work" ] || { left+=("${environ//[^0-9]/}") && break; }
        done 2>/dev/null <"$environ" || true
    done
}
stop_started() {
    local status=$? i
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        kill "${started[i]}" 2>/dev/null || true
        wait "${started[i]}" 2>/dev/null || true
    done
    for i in $(seq 50); do find_left && [ "${#left[@]}" -gt 0 ] && sleep 0.1 || break; done
    if [ "${#left[@]}" -gt 0 ]; then
        echo "FAIL: still running 5 s after the run ended, started by it:"
        ps -o pid=,args= -p "${left[*]}" || true
        kill "${left[@]}" 2>/dev/null && sleep 1 # a speech server may not heed the first request
        kill -9 "${left[@]}" 2>/dev/null || true
        status=1
    fi
    rm -rf "$work"
    exit "$status"
}
trap stop_started EXIT
