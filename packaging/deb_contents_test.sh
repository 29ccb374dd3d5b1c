#!/usr/bin/env bash
# Checks the Debian package's control fields and file list: what a fresh Debian 12 needs to run it.
# Usage: deb_contents_test.sh DEB_DIR APP_ID
set -euo pipefail
dir=$1 app_id=$2
. "$(dirname "$0")/deb_common.sh"

find_deb "$dir"

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
# The synopsis is said once; the long description goes on from it.
# (No pipe into head or grep -q: under pipefail a writer cut off early would fail the step.)
description=$(dpkg-deb -f "$deb" Description)
synopsis=$(sed -n 1p <<<"$description")
[ "$(sed -n '2s/^ *//p' <<<"$description")" != "$synopsis" ] ||
    fail "the long description repeats the synopsis '$synopsis'"
# No web address the project does not have.
[ -z "$(dpkg-deb -f "$deb" Homepage)" ] || fail "Homepage is $(dpkg-deb -f "$deb" Homepage)"

# The Qt libraries (from the program's own links), the platform plugins and the window's fonts.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-comic-neue \
    fonts-dancingscript fonts-liberation2; do
    case ", $depends," in
    *", $package "* | *", $package,"*) ;;
    *) fail "Depends lacks $package: $depends" ;;
    esac
done

# Qt's Wayland platform, so that a Wayland desktop runs the game natively.
recommends=$(dpkg-deb -f "$deb" Recommends)
case ", $recommends," in
*", qt6-wayland,"*) ;;
*) fail "Recommends lacks qt6-wayland: '$recommends'" ;;
esac

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
# The game in /usr/games, as Debian's games policy asks; its licence and changelog in its doc
# folder; its manual page in section 6.
for path in ./usr/games/tallywick ./usr/share/doc/tallywick/copyright \
    ./usr/share/doc/tallywick/changelog.gz ./usr/share/man/man6/tallywick.6.gz \
    "./usr/share/applications/$app_id.desktop" \
    "./usr/share/metainfo/$app_id.metainfo.xml" \
    "./usr/share/icons/hicolor/16x16/apps/$app_id.png" \
    "./usr/share/icons/hicolor/24x24/apps/$app_id.png" \
    "./usr/share/icons/hicolor/32x32/apps/$app_id.png" \
    "./usr/share/icons/hicolor/48x48/apps/$app_id.png" \
    "./usr/share/icons/hicolor/64x64/apps/$app_id.png" \
    "./usr/share/icons/hicolor/128x128/apps/$app_id.png" \
    "./usr/share/icons/hicolor/256x256/apps/$app_id.png" \
    "./usr/share/icons/hicolor/scalable/apps/$app_id.svg"; do
    grep -qx -- "$path" <<<"$files" || fail "package lacks $path"
done
in_bin=$(grep '^\./usr/bin/.' <<<"$files" || true)
[ -z "$in_bin" ] || fail "package has files in /usr/bin: $in_bin"

# The program ships without its debug information.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
file -b "$root/usr/games/tallywick" | grep -q ', stripped' ||
    fail "the program is not stripped: $(file -b "$root/usr/games/tallywick")"

# The menu entry starts the program by a name found on Debian's PATH, which holds /usr/games.
exec_name=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$app_id.desktop" | cut -d' ' -f1)
[ -x "$root/usr/games/$exec_name" ] || fail "the menu entry's Exec '$exec_name' is not in /usr/games"

# The copyright file names the licence in Debian's machine-readable form.
copyright="$root/usr/share/doc/tallywick/copyright"
if [ -f "$copyright" ]; then
    format=https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
    [ "$(head -n 1 "$copyright")" = "Format: $format" ] ||
        fail "copyright is not in the machine-readable format"
    grep -q '^License: Expat$' "$copyright" || fail "copyright does not state the Expat licence"
    grep -q '2026 The Tallywick developers' "$copyright" || fail "copyright lacks the copyright holder"
fi
# The changelog's newest entry is this very version.
changelog="$root/usr/share/doc/tallywick/changelog.gz"
if [ -f "$changelog" ]; then
    version=$(dpkg-deb -f "$deb" Version)
    first=$(zcat "$changelog" | sed -n 1p)
    [[ "$first" == "tallywick ($version) "* ]] ||
        fail "changelog starts '$first', not version $version"
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "package fields and files are complete; Depends: $depends; Recommends: $recommends"
