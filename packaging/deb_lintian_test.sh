#!/usr/bin/env bash
# Runs Debian's package checker on the built package at its most pedantic; any error or warning
# fails, and the informational and pedantic notes that remain are printed for the record.
# Usage: deb_lintian_test.sh DEB_DIR
set -euo pipefail
dir=$1
. "$(dirname "$0")/deb_common.sh"

find_deb "$dir"
need lintian

# lintian's own exit status depends on its --fail-on setting; the tags it prints decide here.
set +e
output=$(lintian --pedantic --display-info --fail-on none "$deb" 2>&1)
status=$?
set -e
echo "$output"
if [ "$status" -ne 0 ]; then
    echo "FAIL: lintian itself failed with status $status"
    exit 1
fi
if grep -qE '^[EW]: ' <<<"$output"; then
    echo "FAIL: lintian reports errors or warnings on $(basename "$deb")"
    exit 1
fi
echo "lintian --pedantic: no errors or warnings on $(basename "$deb")"
