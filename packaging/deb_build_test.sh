#!/usr/bin/env bash
# Builds the Debian package from the finished build into OUTPUT_DIR (a fixture of the package tests).
# Usage: deb_build_test.sh CPACK CPACK_CONFIG OUTPUT_DIR
set -euo pipefail
cpack=$1 config=$2 output=$3

rm -rf "$output"
mkdir -p "$output"
"$cpack" -G DEB --config "$config" -B "$output"
debs=("$output"/*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "expected one .deb in $output, found: ${debs[*]}"
    exit 1
fi
echo "built $(basename "${debs[0]}") ($(stat -c %s "${debs[0]}") bytes)"
