#!/usr/bin/env bash
# Runs Debian's hardening-check on the packaged program: every protection Debian's build flags give
# (stack protector, fortified calls, read-only relocations bound at start, position independence,
# stack-clash and control-flow protection) must be there; any "no" fails, with one exception.
# The linker marks a program as control-flow protected only when every object in it is marked;
# our own objects are (-fcf-protection), but where the C library's start-up files carry no mark,
# as on Debian 12, the program cannot be, and "Control flow integrity: no" is the truth. It is
# accepted only while a start-up file the program is linked with lacks the mark.
# Usage: deb_hardening_test.sh DEB_DIR
set -euo pipefail
dir=$1
. "$(dirname "$0")/deb_common.sh"

find_deb "$dir"
need hardening-check cc readelf
unpack_deb
program="$work/root/usr/games/tallywick"
[ -f "$program" ] || { echo "FAIL: no /usr/games/tallywick in $(basename "$deb")"; exit 1; }

# Its exit status would fail on its own terms; its lines decide here, every one printed.
set +e
output=$(hardening-check "$program" 2>&1)
status=$?
set -e
output=$(sed "s|$work/root||" <<<"$output")
echo "$output"
checks=$(grep -c '^ [A-Z].*: ' <<<"$output" || true)
if [ "$checks" -lt 7 ]; then
    echo "FAIL: hardening-check reported $checks checks, not the 7 expected (status $status)"
    exit 1
fi

# The C start-up files of a position-independent program that carry no control-flow mark.
unmarked_startup_files() {
    local name file
    for name in Scrt1.o crti.o crtn.o; do
        file=$(cc -print-file-name="$name")
        if [ -f "$file" ] && ! readelf -n "$file" | grep -q 'x86 feature:.*IBT'; then
            echo "$file"
        fi
    done
}

missing=$(grep -E '^ [A-Z].*: no' <<<"$output" || true)
if grep -q '^ Control flow integrity: no' <<<"$missing"; then
    unmarked=$(unmarked_startup_files)
    if [ -z "$unmarked" ]; then
        echo "FAIL: no control-flow mark, although every C start-up file carries one"
        exit 1
    fi
    echo "accepted: Control flow integrity: no, as the linker leaves the program unmarked for the" \
        "C start-up files without the mark:" $unmarked
    missing=$(grep -v '^ Control flow integrity: no' <<<"$missing" || true)
fi
if [ -n "$missing" ]; then
    echo "FAIL: the packaged program lacks a protection"
    exit 1
fi
echo "hardening-check: every other protection is in /usr/games/tallywick"
