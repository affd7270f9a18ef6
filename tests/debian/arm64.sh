#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The arm64 build (Debian arm64, the Raspberry Pi's 64-bit system) on an amd64
# machine. It is cross-built from the Debian source package, as Debian
# cross-builds (dpkg-buildpackage -a arm64), in a Debian 12 amd64 system with
# arm64 added as a foreign architecture, made with mmdebstrap and kept in
# WORK_DIR: there the arm64 Qt libraries sit beside the amd64 ones that moc
# and rcc need, and this machine's own packages stay as they are.
#
#   arm64.sh package WORK_DIR DSC VERSION
#       cross-builds the source package DSC (with its tarball beside it) into
#       WORK_DIR/rotavel_VERSION_arm64.deb, its debug symbols, .buildinfo and
#       .changes; the build tree, tests included, stays in the system
#   arm64.sh test WORK_DIR DSC VERSION AMD64_EXHAUSTIVE
#       runs the cross-built tests under QEMU's user mode, compares the
#       exhaustive test's sample with the amd64 build's (AMD64_EXHAUSTIVE is
#       that test program), installs the package and starts its window
#
# Run as root. The system is mounted only while this runs.
set -eu

action=$1
work=$2
dsc=$3
version=$4
amd64_exhaustive=${5:-}
suite=bookworm
caption="Rotavel 1.1 - Quillo"
# What cross-building needs besides the source package's Build-Depends
# (installed from debian/control, for arm64, by apt-get build-dep), and
# what the tests need: QEMU and an X server.
packages=build-essential,crossbuild-essential-arm64,dpkg-dev
packages=$packages,qemu-user-static,xvfb,xauth,xdotool

here=$(cd "$(dirname "$0")" && pwd -P)
. "$here/chroot.sh"

mkdir -p "$work"
work=$(cd "$work" && pwd -P)
dsc=$(readlink -f "$dsc")
root=$work/debian-12-cross
# The package list the system was made with: another list makes it anew.
made=$work/debian-12-cross.made
tree=/root/src/rotavel-$version
build=$tree/obj-aarch64-linux-gnu
deb=rotavel_${version}_arm64.deb
started=$(now)
trap 'leave_system "$root"' EXIT
trap 'exit 130' INT TERM

if [ ! -f "$made" ] || [ "$(cat "$made")" != "$suite $packages" ]; then
    step "making a Debian 12 ($suite) amd64 system with arm64 in $root"
    rm -f "$made"
    remove_system "$root"
    make_system "$root" "$suite" amd64,arm64 "$packages"
    echo "$suite $packages" >"$made"
else
    leave_system "$root"
fi
enter_system "$root"

case $action in
package)
    step "the source package $(basename "$dsc") and its Build-Depends for arm64"
    remove_tree "$root/root/src"
    mkdir -p "$root/root/src"
    cp "$dsc" "$(dirname "$dsc")/rotavel_$version.tar.xz" "$root/root/src/"
    in_system "$root" sh -c "cd /root/src && dpkg-source --extract $(basename "$dsc")"
    if ! in_system "$root" sh -c "cd $tree && dpkg-checkbuilddeps -a arm64" 2>/dev/null; then
        in_system "$root" apt-get update -qq
        in_system "$root" apt-get build-dep -y -a arm64 "$tree"
    fi
    step "cross-building for arm64 with dpkg-buildpackage"
    in_system "$root" sh -c "cd $tree && dpkg-buildpackage -a arm64 --build=binary --no-sign --jobs=auto"
    rm -f "$work"/rotavel*_arm64.*
    cp "$root/root/src/"*_arm64.* "$work/"
    dpkg-deb -f "$work/$deb" Package Version Architecture Depends
    ls -l "$work"/*_arm64.*
    ;;
test)
    step "the tests under QEMU ($(in_system "$root" qemu-aarch64-static --version | head -n 1))"
    # The package's build tree, told to run its tests through QEMU; those
    # that the package's build leaves out (a compositor, root) as well.
    in_system "$root" cmake "-DCMAKE_CROSSCOMPILING_EMULATOR=qemu-aarch64-static;-L;/" $build \
        >/dev/null
    in_system "$root" sh -c "cd $build && QT_QPA_PLATFORM=offscreen \
        ctest --output-on-failure --no-tests=error -E '^tst_exhaustive\$' -LE 'compositor|root'"

    step "the exhaustive test's sample on arm64 and amd64"
    # Emulated, the whole grid would take an hour: the sample, asked for.
    in_system "$root" sh -c "cd $build && QT_QPA_PLATFORM=offscreen ROTAVEL_EXHAUSTIVE=sample \
        qemu-aarch64-static -L / tests/tst_exhaustive" >"$work/exhaustive-arm64.txt" 2>&1 \
        || { cat "$work/exhaustive-arm64.txt"; echo "FAIL: tst_exhaustive on arm64"; exit 1; }
    QT_QPA_PLATFORM=offscreen ROTAVEL_EXHAUSTIVE=sample "$amd64_exhaustive" everySubsquare \
        >"$work/exhaustive-amd64.txt" 2>&1 \
        || { cat "$work/exhaustive-amd64.txt"; echo "FAIL: tst_exhaustive on amd64"; exit 1; }
    grep -E 'locators|sample from' "$work/exhaustive-arm64.txt" | sed 's/^QINFO *: *//'
    for arch in arm64 amd64; do
        grep -o 'sample from .*' "$work/exhaustive-$arch.txt" >"$work/sample-$arch.txt" || true
    done
    if [ ! -s "$work/sample-arm64.txt" ] || ! cmp -s "$work/sample-arm64.txt" "$work/sample-amd64.txt"; then
        diff "$work/sample-amd64.txt" "$work/sample-arm64.txt" || true
        echo "FAIL: the sample's results differ between amd64 and arm64"
        exit 1
    fi
    echo "the sample's results are the same on arm64 and amd64"

    step "installing $deb with apt"
    cp "$work/$deb" "$root/tmp/$deb"
    in_system "$root" apt-get update -qq
    in_system "$root" apt-get install -y --no-install-recommends "/tmp/$deb"
    in_system "$root" dpkg-query -W rotavel:arm64

    step "starting the arm64 window under Xvfb"
    status=0
    # Emulated, the window takes longer to come up.
    window_maps "$root" 120 "$caption" qemu-aarch64-static -L / /usr/bin/rotavel || status=$?
    in_system "$root" dpkg --purge rotavel
    [ "$status" = 0 ] || exit "$status"
    ;;
*)
    echo "usage: $0 package|test WORK_DIR DSC VERSION [AMD64_EXHAUSTIVE]" >&2
    exit 2
    ;;
esac
step "done"
echo "arm64 $action passed in $(($(now) - started)) s"
