#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Rotavel in the current Debian, as a new operator and as Debian meet it,
# each in a clean Debian 13 system of its own made from Debian's archive:
#   - the set-up: a fresh clone of this repository's committed HEAD, and the
#     README's `make test` run there as it stands;
#   - the source package DSC built as Debian's build machines build it: only
#     build-essential and its Build-Depends installed, dpkg-buildpackage run
#     by an ordinary user (Rules-Requires-Root: no); the package it makes is
#     read back by packaging/check_deb.sh;
#   - the package PACKAGE (this machine's, from `make package`) installed
#     with apt and its window used by the source package's autopkgtest
#     (debian/tests), in a system with nothing else but autopkgtest.
#
# Usage: distro_test.sh WORK_DIR REPOSITORY DSC PACKAGE ICON_SIZE...
# (ICON_SIZE: the sizes check_deb.sh expects the raster icons in).
# WORK_DIR holds the systems while the test runs, and keeps the packages
# built in Debian 13 afterwards (WORK_DIR/debian-13-packages).
# Run as root.
set -eu

work=$1
repository=$2
dsc=$3
package=$4
shift 4
icon_sizes=$*
suite=trixie
# The ordinary user the package is built as; no account is needed.
builder=65534:65534

here=$(cd "$(dirname "$0")" && pwd -P)
. "$here/chroot.sh"

mkdir -p "$work"
work=$(cd "$work" && pwd -P)
repository=$(readlink -f "$repository")
dsc=$(readlink -f "$dsc")
package=$(readlink -f "$package")
version=$(dpkg-deb -f "$package" Version)
base=$work/debian-13
setup=$work/debian-13-setup
build=$work/debian-13-build
testbed=$work/debian-13-autopkgtest
started=$(now)
trap 'remove_system "$setup"; remove_system "$build"; remove_system "$testbed"; remove_system "$base"' EXIT
trap 'exit 130' INT TERM
# What an earlier run that was killed outright may have left.
for system in "$base" "$setup" "$build" "$testbed"; do
    remove_system "$system"
done
rm -rf "$work/debian-13-packages"

step "making a Debian 13 ($suite) system in $base"
make_system "$base" "$suite" amd64 ca-certificates
echo "Debian $(cat "$base/etc/debian_version"), $(du -sh "$base" | cut -f1)"
# Three copies of it, one for each part, so that none sees another's packages.
for system in "$setup" "$build" "$testbed"; do
    cp -a "$base" "$system"
done
remove_system "$base"

step "cloning $(git -C "$repository" rev-parse --short HEAD) of $repository"
enter_system "$setup"
# The README assumes make, and git to have cloned the repository.
in_system "$setup" apt-get update -qq
in_system "$setup" apt-get install -y -qq make git >/dev/null
commit=$(git -C "$repository" rev-parse HEAD)
git clone --quiet --no-hardlinks "$repository" "$setup/root/rotavel"
git -C "$setup/root/rotavel" checkout --quiet --detach "$commit"

step "make test in Debian 13"
in_system "$setup" sh -c 'cd /root/rotavel && make test'
remove_system "$setup"

step "the source package $(basename "$dsc") with only its Build-Depends"
enter_system "$build"
mkdir -p "$build/build"
dpkg-source --extract "$dsc" "$build/build/rotavel" >/dev/null
in_system "$build" apt-get update -qq
in_system "$build" apt-get install -y -qq build-essential >/dev/null
in_system "$build" apt-get build-dep -y -qq /build/rotavel >/dev/null
chown -R "$builder" "$build/build"

step "dpkg-buildpackage in Debian 13, as an ordinary user"
chroot --userspec="$builder" "$build" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/build \
    LANG=C.UTF-8 sh -c 'cd /build/rotavel && dpkg-buildpackage --build=binary --no-sign --jobs=auto' \
    </dev/null
mkdir -p "$work/debian-13-packages"
cp "$build/build/"*.deb "$build/build/"*.buildinfo "$build/build/"*.changes "$work/debian-13-packages/"
remove_system "$build"
sh "$repository/packaging/check_deb.sh" "$work/debian-13-packages/rotavel_${version}_amd64.changes" \
    amd64 io.github.rotavel.Rotavel "$version" $icon_sizes

step "autopkgtest of $(basename "$package") in Debian 13"
enter_system "$testbed"
in_system "$testbed" apt-get update -qq
in_system "$testbed" apt-get install -y -qq --no-install-recommends autopkgtest >/dev/null
mkdir -p "$testbed/tmp/autopkgtest"
cp "$package" "$testbed/tmp/autopkgtest/"
dpkg-source --extract "$dsc" "$testbed/tmp/autopkgtest/source" >/dev/null
in_system "$testbed" autopkgtest --output-dir=/tmp/autopkgtest/output \
    "/tmp/autopkgtest/$(basename "$package")" /tmp/autopkgtest/source/ -- null

step "done"
echo "distro-test passed in $(($(now) - started)) s"
