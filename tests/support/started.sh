# Sourced by a script that starts processes: gives it a scratch folder, $work, and a list, started,
# of the pids it started. On exit those alone are stopped, the newest first, and the folder goes.
work=$(mktemp -d)
started=()
stop_started() {
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        kill "${started[i]}" 2>/dev/null || true
        wait "${started[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap stop_started EXIT
