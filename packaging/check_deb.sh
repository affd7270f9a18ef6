#!/bin/sh
# Builds the Debian package of a configured and built tree with CPack and
# reads it back: what a desktop needs must be in it, in the right places and
# sizes, under the one application id, with the control fields apt relies on.
#
# Usage: check_deb.sh CPACK CPACK_CONFIG WORK_DIR APP_ID VERSION ICON_SIZE...
set -u

cpack=$1
config=$2
work=$3
id=$4
version=$5
shift 5
sizes=$*

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work"
if ! "$cpack" -G DEB --config "$config" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack did not make the package"
    exit 1
fi

arch=$(dpkg --print-architecture)
deb=$work/rotavel_${version}_${arch}.deb
if [ ! -f "$deb" ]; then
    ls -l "$work"
    echo "FAIL: no $deb"
    exit 1
fi

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
    file -b "$root/usr/bin/rotavel" | grep -q '^ELF .* executable' \
        || fail "/usr/bin/rotavel is not an ELF executable: $(file -b "$root/usr/bin/rotavel")"
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
    gzip -dc "$root/$man" | grep -q '^\.TH ROTAVEL 1' || fail "$man is not the manual page"
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

if [ "$failures" -ne 0 ]; then
    echo "--- package contents"
    cat "$work/contents.txt"
    echo "--- control"
    dpkg-deb -f "$deb"
    exit 1
fi
echo "$deb: $(wc -l <"$work/contents.txt") entries, Depends: $(field Depends)"
