#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks every file is where a desktop looks for it.
# Usage: install_test.sh BUILD_DIR PREFIX APP_ID BINDIR (the configured CMAKE_INSTALL_BINDIR)
set -euo pipefail
build=$1 prefix=$2 app_id=$3 bindir=$4

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

program="$prefix/$bindir/tallywick"
[ -x "$program" ] || fail "no program at $bindir/tallywick"

desktop="$prefix/share/applications/$app_id.desktop"
if [ -f "$desktop" ]; then
    field() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
    [ "$(field Name)" = Tallywick ] || fail "desktop entry: Name is '$(field Name)'"
    [ -n "$(field Comment)" ] || fail "desktop entry: no Comment"
    exec_name=$(field Exec | cut -d' ' -f1)
    [ -x "$prefix/$bindir/$exec_name" ] || fail "desktop entry: Exec '$exec_name' is not in $bindir/"
    [ "$(field Icon)" = "$app_id" ] || fail "desktop entry: Icon is '$(field Icon)', not $app_id"
    for category in Game LogicGame; do
        case ";$(field Categories)" in
        *";$category;"*) ;;
        *) fail "desktop entry: Categories '$(field Categories)' lack $category" ;;
        esac
    done
else
    fail "no desktop entry at share/applications/$app_id.desktop"
fi

# The icon at every size the window icon holds and the larger ones drawn for software centres,
# and no size that was not drawn.
for size in 16 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    if [ -f "$icon" ]; then
        file -b "$icon" | grep -q "^PNG image data, $size x $size," ||
            fail "icon ${size}x${size} is $(file -b "$icon")"
    else
        fail "no icon at share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    fi
done
sizes=$(cd "$prefix/share/icons/hicolor" 2>/dev/null && ls | sort -n | tr '\n' ' ')
[ "$sizes" = "scalable 16x16 24x24 32x32 48x48 64x64 128x128 256x256 " ] ||
    fail "icon theme sizes are '$sizes'"
scalable="$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"
if [ -f "$scalable" ]; then
    grep -q '<svg' "$scalable" || fail "the scalable icon is no SVG: $(file -b "$scalable")"
    grep -q 'viewBox="0 0 256 256"' "$scalable" || fail "the scalable icon is not square"
else
    fail "no icon at share/icons/hicolor/scalable/apps/$app_id.svg"
fi

metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
if [ -f "$metainfo" ]; then
    grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo: id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "metainfo: launchable is not $app_id.desktop"
    grep -q "<content_rating" "$metainfo" || fail "metainfo: no content rating"
    grep -q "<project_license>MIT</project_license>" "$metainfo" ||
        fail "metainfo: project_license is not MIT"
    # No web address the project does not have: no homepage, no screenshot addresses.
    addresses=$(grep -oE 'https?://[^<"]*' "$metainfo" || true)
    [ -z "$addresses" ] || fail "metainfo: made-up web addresses: $addresses"
else
    fail "no AppStream entry at share/metainfo/$app_id.metainfo.xml"
fi

# The manual page, in section 6 for games, compressed; man reads it without a complaint.
manual="$prefix/share/man/man6/tallywick.6.gz"
if [ -f "$manual" ]; then
    page=$(zcat "$manual")
    grep -q '^\.TH TALLYWICK 6 ' <<<"$page" || fail "manual page is not tallywick(6)"
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES; do
        grep -q "^\.SH \"*$section" <<<"$page" || fail "manual page lacks $section"
    done
    complaints=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null || true)
    [ -z "$complaints" ] || fail "man complains about the manual page: $complaints"
else
    fail "no manual page at share/man/man6/tallywick.6.gz"
fi

# Nothing else: the tools and test programs stay in the build.
unexpected=$(cd "$prefix" && find . -type f | grep -v -e "^\./$bindir/tallywick\$" \
    -e "^\./share/applications/$app_id\.desktop$" -e "^\./share/metainfo/$app_id\.metainfo\.xml$" \
    -e "^\./share/icons/hicolor/[0-9]*x[0-9]*/apps/$app_id\.png$" \
    -e "^\./share/icons/hicolor/scalable/apps/$app_id\.svg$" \
    -e '^\./share/man/man6/tallywick\.6\.gz$' || true)
[ -z "$unexpected" ] || fail "unexpected files installed: $unexpected"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "installed tree is complete: $(cd "$prefix" && find . -type f | wc -l) files"
