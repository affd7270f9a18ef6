#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads back the Debian package that dpkg-buildpackage made from the source
# package in debian/: what a desktop needs must be in it, in the right places
# and sizes, under the one application id, with the control fields apt relies
# on, the copyright file and changelog Debian asks for, and one version
# everywhere; the program stripped, its symbols in the detached debug
# package. Then lintian, pedantic, on everything the .changes file names
# (the source package too, where it was built): any tag it shows that is not
# overridden with its reason (debian/*lintian-overrides) fails.
#
# Usage: check_deb.sh CHANGES ARCH APP_ID VERSION ICON_SIZE...
set -u

changes=$1
arch=$2
id=$3
version=$4
shift 4
sizes=$*

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

deb=$(dirname "$changes")/rotavel_${version}_${arch}.deb
if [ ! -f "$deb" ]; then
    ls -l "$(dirname "$changes")"
    echo "FAIL: no $deb"
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- Files -------------------------------------------------------------------
dpkg-deb -c "$deb" >"$work/contents.txt"
root=$work/root
dpkg-deb -x "$deb" "$root"

need_file()
{
    if [ -f "$root/$1" ]; then
        return 0
    fi
    fail "missing /$1"
    return 1
}

share=usr/share
if need_file usr/bin/rotavel; then
    [ -x "$root/usr/bin/rotavel" ] || fail "/usr/bin/rotavel is not executable"
    kind=$(file -b "$root/usr/bin/rotavel")
    case $kind in
    ELF*" executable"*", stripped") ;;
    *) fail "/usr/bin/rotavel is not a stripped ELF executable: $kind" ;;
    esac
fi
# The system's Qt is found by the dynamic linker, not through a run path of
# the build's making (lintian would not say).
if command -v readelf >/dev/null && [ -f "$root/usr/bin/rotavel" ]; then
    readelf -d "$root/usr/bin/rotavel" | grep -E '\((RPATH|RUNPATH)\)' \
        && fail "/usr/bin/rotavel carries a run path"
fi
# The symbols stripped from it, in the debug package dh_strip makes.
dbgsym=$(dirname "$changes")/rotavel-dbgsym_${version}_${arch}.deb
if [ -f "$dbgsym" ]; then
    dpkg-deb -c "$dbgsym" | grep '/usr/lib/debug/.build-id/.*\.debug$' >/dev/null \
        || fail "$(basename "$dbgsym") holds no debug symbols"
else
    fail "no debug package $(basename "$dbgsym")"
fi

desktop=$share/applications/$id.desktop
if need_file "$desktop"; then
    grep -qx "Icon=$id" "$root/$desktop" || fail "$desktop does not name the icon $id"
    grep -qx "Exec=rotavel" "$root/$desktop" || fail "$desktop does not start rotavel"
fi

metainfo=$share/metainfo/$id.metainfo.xml
if need_file "$metainfo"; then
    grep -q "<id>$id</id>" "$root/$metainfo" || fail "$metainfo has another id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$root/$metainfo" \
        || fail "$metainfo does not launch $id.desktop"
    grep -q '<project_license>GPL-3.0-or-later</project_license>' "$root/$metainfo" \
        || fail "$metainfo does not name the licence"
    grep -q 'Rotavel maintainers</' "$root/$metainfo" || fail "$metainfo names no developer"
    # The newest release comes first.
    newest=$(grep -o '<release version="[^"]*"' "$root/$metainfo" | head -n 1)
    [ "$newest" = "<release version=\"$version\"" ] \
        || fail "$metainfo: newest release is '$newest', not $version"
fi

# Each raster icon must really have the size of the folder it sits in.
for size in $sizes; do
    icon=$share/icons/hicolor/${size}x${size}/apps/$id.png
    if need_file "$icon"; then
        kind=$(file -b "$root/$icon")
        case $kind in
        "PNG image data, $size x $size,"*) ;;
        *) fail "$icon is not a $size x $size PNG: $kind" ;;
        esac
    fi
done
svg=$share/icons/hicolor/scalable/apps/$id.svg
if need_file "$svg"; then
    grep -q '<svg ' "$root/$svg" || fail "$svg is not SVG"
fi

man=$share/man/man1/rotavel.1.gz
if need_file "$man"; then
    gzip -dc "$root/$man" | grep -q "^\\.TH ROTAVEL 1 \"\" \"Rotavel $version\"" \
        || fail "$man is not the manual page of version $version"
fi

doc=$share/doc/rotavel
if need_file "$doc/copyright"; then
    head -n 1 "$root/$doc/copyright" \
        | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
        || fail "$doc/copyright is not machine-readable"
fi
if need_file "$doc/changelog.gz"; then
    gzip -dc "$root/$doc/changelog.gz" >"$work/changelog"
    logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version 2>&1)
    [ "$logged" = "$version" ] || fail "$doc/changelog.gz: newest entry is '$logged', not $version"
fi

# --- Control fields ------------------------------------------------------------
field()
{
    dpkg-deb -f "$deb" "$1"
}

[ "$(field Package)" = rotavel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Section)" = hamradio ] || fail "Section is '$(field Section)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
# dpkg-shlibdeps must have found the Qt Widgets library the program links.
field Depends | tr ',' '\n' | grep -q '^ *libqt6widgets6\( \|$\)' \
    || fail "Depends lacks libqt6widgets6: '$(field Depends)'"
# Qt's translations, and its Wayland platform (see debian/control).
for recommended in qt6-translations-l10n qt6-wayland; do
    field Recommends | tr ',' '\n' | grep -q "^ *$recommended\$" \
        || fail "Recommends lacks $recommended: '$(field Recommends)'"
done

# --- lintian -------------------------------------------------------------------
# Every tag counts, pedantic ones too; overridden tags are shown with their
# reasons. --allow-root: CI builds as root.
dsc=$(dirname "$changes")/rotavel_${version}.dsc
[ -f "$dsc" ] || dsc=
if command -v lintian >/dev/null; then
    if ! lintian --allow-root --pedantic --display-info --show-overrides --tag-display-limit 0 \
        --fail-on error,warning,info,pedantic "$changes" $dsc >"$work/lintian.txt" 2>&1; then
        fail "lintian: $(grep -c '^[EWIP]: ' "$work/lintian.txt") tags not overridden"
    fi
    cat "$work/lintian.txt"
else
    fail "lintian is not installed (make package installs it)"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- package contents"
    cat "$work/contents.txt"
    echo "--- control"
    dpkg-deb -f "$deb"
    exit 1
fi
echo "$deb: $(wc -l <"$work/contents.txt") entries, Depends: $(field Depends)"
