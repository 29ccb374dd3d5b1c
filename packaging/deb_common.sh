# What the package tests share; each sources this file after `set -euo pipefail`.

# Sets deb to the package the package build left in DIR; fails if there is none.
# Usage: find_deb DIR
find_deb() {
    local debs
    debs=("$1"/*.deb)
    deb=${debs[0]}
    [ -f "$deb" ] || { echo "no .deb in $1"; exit 1; }
}

# Fails, pointing to scripts/setup.sh, if a tool is not installed.
# Usage: need TOOL...
need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
    done
}

# Unpacks $deb into a fresh folder, removed when the test ends: work is the folder, the package's
# files are under $work/root.
unpack_deb() {
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    dpkg-deb -x "$deb" "$work/root"
}
