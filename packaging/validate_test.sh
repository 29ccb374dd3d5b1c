#!/usr/bin/env bash
# Runs the freedesktop validators on an installed file; any error or warning fails.
# Usage: validate_test.sh desktop|metainfo FILE
set -euo pipefail
kind=$1 file=$2

case "$kind" in
desktop)
    command -v desktop-file-validate >/dev/null ||
        { echo "desktop-file-validate is missing: run scripts/setup.sh"; exit 1; }
    # It exits 0 on warnings too, so anything it prints is a failure.
    output=$(desktop-file-validate "$file" 2>&1) || { echo "$output"; exit 1; }
    if [ -n "$output" ]; then
        echo "$output"
        exit 1
    fi
    echo "desktop entry is valid"
    ;;
metainfo)
    command -v appstreamcli >/dev/null ||
        { echo "appstreamcli is missing: run scripts/setup.sh"; exit 1; }
    appstreamcli validate --no-net --explain "$file"
    ;;
*)
    echo "usage: validate_test.sh desktop|metainfo FILE"
    exit 2
    ;;
esac
