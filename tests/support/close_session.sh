#!/usr/bin/env bash
# Run on an X display: starts a program, records its window as the closer sees it (OUT.txt: title,
# size and WM_CLASS; OUT.ppm: the picture), closes it as a desktop does and expects it to end with
# status 0. Every wait is bounded, and a failure says which step failed, with the program's stderr
# (kept in OUT.err).
# Usage: close_session.sh CLOSER OUT PROGRAM [ARGUMENT...]
closer=$1 out=$2 program=$3
shift 3
"$program" "$@" 2>"$out.err" &
game=$!
say_failure() {
    cat "$out.err"
    echo "$*"
    exit 1
}
if ! "$closer" "${program##*/}" 60 "$out.ppm" >"$out.txt"; then
    kill "$game" 2>/dev/null
    wait "$game"
    say_failure "no window of ${program##*/} that accepts a close request"
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
    say_failure "${program##*/} did not end within 30 s of its close request"
fi
wait "$game"
status=$?
[ "$status" -eq 0 ] || say_failure "${program##*/} ended with status $status after its window was closed"
