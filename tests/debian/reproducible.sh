#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Two builds of one source must give the same bits. In a clean Debian 12
# system made from Debian's archive, the source package DSC is built twice
# with dpkg-buildpackage (only build-essential and its Build-Depends
# installed), then both Windows programs with their zips and setups twice,
# each time from a copy of the source at another place. The second build of
# each differs from the first in:
#   - the build path (and its length), the user and group, the home folder;
#   - the umask (002 instead of 022), the time zone (UTC-14 instead of UTC)
#     and the language;
#   - the clock, 398 days ahead through libfaketime (package faketime); the
#     files' times stay as the file system has them (NO_FAKE_STAT), as on a
#     machine whose clock is that far ahead;
#   - for the Debian package, the number of jobs and the tests (nocheck:
#     running them or not must not change the package).
# Every file is then compared bit for bit; diffoscope, on this machine,
# shows what differs, and says nothing when all is the same.
#
# Usage: reproducible.sh WORK_DIR DSC VERSION SOURCE_DATE_EPOCH
# (SOURCE_DATE_EPOCH: the last commit's time, which the Windows files carry;
# the Debian packages take theirs from debian/changelog, as dpkg-buildpackage
# does.) WORK_DIR holds the system while this runs; the built files stay in
# WORK_DIR/first and WORK_DIR/second. Run as root.
set -eu

work=$1
dsc=$2
version=$3
epoch=$4
suite=bookworm
windows_packages="cmake ninja-build g++-mingw-w64-x86-64 g++-mingw-w64-i686 nsis zip"

here=$(cd "$(dirname "$0")" && pwd -P)
. "$here/chroot.sh"

mkdir -p "$work"
work=$(cd "$work" && pwd -P)
dsc=$(readlink -f "$dsc")
root=$work/debian-12
started=$(now)
trap 'remove_system "$root"' EXIT
trap 'exit 130' INT TERM
remove_system "$root"
rm -rf "$work/first" "$work/second"
mkdir -p "$work/first" "$work/second"

step "making a Debian 12 ($suite) system in $root"
make_system "$root" "$suite" amd64 ca-certificates
enter_system "$root"
# Two builders; accounts of their own, without the tools that make them.
echo "builder1:x:2001:2001::/home/builder1:/bin/sh" >>"$root/etc/passwd"
echo "builder2:x:3002:3002::/srv/home/builder-two:/bin/sh" >>"$root/etc/passwd"
echo "builder1:x:2001:" >>"$root/etc/group"
echo "builder2:x:3002:" >>"$root/etc/group"
mkdir -p "$root/home/builder1" "$root/srv/home/builder-two"
chown 2001:2001 "$root/home/builder1"
chown 3002:3002 "$root/srv/home/builder-two"

# The two places, as the builders' own folders.
first=/build/first
second=/srv/another/much/longer/place/for/the/second/build
mkdir -p "$root$first" "$root$second"
chown 2001:2001 "$root$first"
chown 3002:3002 "$root$second"

# as_builder N SCRIPT: the shell script SCRIPT run by builder N, in build N's
# place, with the environment that build varies.
as_builder()
{
    if [ "$1" = 1 ]; then
        printf 'umask 022\ncd %s\n%s\n' "$first" "$2" >"$root$first/step.sh"
        chroot --userspec=2001:2001 "$root" /usr/bin/env -i PATH=/usr/bin:/bin \
            HOME=/home/builder1 LANG=C.UTF-8 TZ=UTC sh "$first/step.sh" </dev/null
    else
        printf 'umask 002\ncd %s\n%s\n' "$second" "$2" >"$root$second/step.sh"
        chroot --userspec=3002:3002 "$root" /usr/bin/env -i PATH=/usr/bin:/bin \
            HOME=/srv/home/builder-two LANG=fr_CH.UTF-8 LC_ALL=fr_CH.UTF-8 TZ=XST-14 \
            NO_FAKE_STAT=1 faketime -f +398d sh "$second/step.sh" </dev/null
    fi
}

step "the Build-Depends of $(basename "$dsc")"
# Unpacked here: the clean system has no dpkg-source before build-essential.
for place in "$first" "$second"; do
    dpkg-source --extract "$dsc" "$root$place/rotavel-$version" >/dev/null
done
in_system "$root" apt-get update -qq
in_system "$root" apt-get install -y -qq build-essential >/dev/null
in_system "$root" apt-get build-dep -y -qq "$first/rotavel-$version" >/dev/null
chown -R 2001:2001 "$root$first"
chown -R 3002:3002 "$root$second"

step "the Debian package, first build"
as_builder 1 "cd rotavel-$version && dpkg-buildpackage --build=binary --no-sign --jobs=1"
# The clock's shift for the second builds comes from outside the Build-Depends.
in_system "$root" apt-get install -y -qq faketime >/dev/null
step "the Debian package, second build"
as_builder 2 "cd rotavel-$version && DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage --build=binary --no-sign --jobs=auto"
for n in first second; do
    eval place=\$$n
    cp "$root$place"/*.deb "$work/$n/"
done

step "the Windows programs, zips and setups, twice"
in_system "$root" apt-get install -y -qq $windows_packages >/dev/null
for n in 1 2; do
    for arch in x64 x86; do
        as_builder $n "set -e
export SOURCE_DATE_EPOCH=$epoch
cmake -S rotavel-$version -B windows-$arch -G Ninja -DCMAKE_BUILD_TYPE=Release \\
    -DCMAKE_TOOLCHAIN_FILE=\$PWD/rotavel-$version/cmake/mingw-w64-$arch.cmake >/dev/null
cmake --build windows-$arch >/dev/null"
    done
done
for n in first second; do
    eval place=\$$n
    for arch in x64 x86; do
        mkdir -p "$work/$n/$arch"
        cp "$root$place/windows-$arch/app/rotavel.exe" "$work/$n/$arch/"
        cp "$root$place/windows-$arch/"rotavel-*.zip "$root$place/windows-$arch/"rotavel-*-setup.exe "$work/$n/"
    done
done

step "comparing"
status=0
for file in $(cd "$work/first" && find . -type f | sort); do
    if cmp -s "$work/first/$file" "$work/second/$file"; then
        echo "same: ${file#./} ($(sha256sum <"$work/first/$file" | cut -c1-16))"
    else
        echo "DIFFERENT: ${file#./}"
        status=1
    fi
done
[ "$(cd "$work/first" && find . -type f | sort)" = "$(cd "$work/second" && find . -type f | sort)" ] \
    || { echo "DIFFERENT: the two builds made different files"; status=1; }
echo "diffoscope:"
diffoscope --no-progress --exclude-directory-metadata=recursive "$work/first" "$work/second" || status=1

step "done"
if [ "$status" != 0 ]; then
    echo "FAIL: the two builds differ"
    exit 1
fi
echo "reproducible: every file the same, in $(($(now) - started)) s"
