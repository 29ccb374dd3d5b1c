#!/usr/bin/env bash
# Checks the Debian package's control fields and file list: what a fresh Debian 12 needs to run it.
# Usage: deb_contents_test.sh DEB_DIR APP_ID
set -euo pipefail
dir=$1 app_id=$2

debs=("$dir"/*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "no .deb in $dir"; exit 1; }

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

[ "$(dpkg-deb -f "$deb" Package)" = tallywick ] || fail "Package is $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "Section is $(dpkg-deb -f "$deb" Section)"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] ||
    fail "Architecture is $(dpkg-deb -f "$deb" Architecture)"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 1 ] || fail "no long description"

# The Qt libraries (from the program's own links), the platform plugins and the window's fonts.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-comic-neue \
    fonts-dancingscript fonts-liberation2; do
    case ", $depends," in
    *", $package "* | *", $package,"*) ;;
    *) fail "Depends lacks $package: $depends" ;;
    esac
done

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/tallywick "./usr/share/applications/$app_id.desktop" \
    "./usr/share/metainfo/$app_id.metainfo.xml" \
    "./usr/share/icons/hicolor/16x16/apps/$app_id.png" \
    "./usr/share/icons/hicolor/24x24/apps/$app_id.png" \
    "./usr/share/icons/hicolor/32x32/apps/$app_id.png" \
    "./usr/share/icons/hicolor/48x48/apps/$app_id.png"; do
    grep -qx -- "$path" <<<"$files" || fail "package lacks $path"
done

# The program ships without its debug information.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
file -b "$root/usr/bin/tallywick" | grep -q ', stripped' ||
    fail "the program is not stripped: $(file -b "$root/usr/bin/tallywick")"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "package fields and files are complete; Depends: $depends"
