#!/usr/bin/env bash
# Runs Debian's hardening-check on the packaged program: every protection Debian's build flags give
# (stack protector, fortified calls, read-only relocations bound at start, position independence,
# stack-clash and control-flow protection) must be there; any "no" fails.
# Usage: deb_hardening_test.sh DEB_DIR
set -euo pipefail
dir=$1
. "$(dirname "$0")/deb_common.sh"

find_deb "$dir"
need hardening-check
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
if grep -E '^ [A-Z].*: no' <<<"$output" >/dev/null; then
    echo "FAIL: the packaged program lacks a protection"
    exit 1
fi
echo "hardening-check: every protection is in /usr/games/tallywick"
