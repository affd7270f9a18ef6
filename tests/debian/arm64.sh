#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The arm64 build (Debian arm64, the Raspberry Pi's 64-bit system) on an amd64
# machine. It is cross-built in a Debian 12 amd64 system with arm64 added as
# a foreign architecture, made with mmdebstrap and kept in WORK_DIR: there
# the arm64 Qt libraries sit beside the amd64 ones that moc and rcc need,
# and this machine's own packages stay as they are.
#
#   arm64.sh package WORK_DIR SOURCE VERSION
#       cross-builds the program, the tests and WORK_DIR/rotavel_VERSION_arm64.deb
#   arm64.sh test WORK_DIR SOURCE VERSION AMD64_EXHAUSTIVE
#       runs the cross-built tests under QEMU's user mode, compares the
#       exhaustive test's sample with the amd64 build's (AMD64_EXHAUSTIVE is
#       that test program), installs the package and starts its window
#
# Run as root. The system is mounted only while this runs.
set -eu

action=$1
work=$2
source=$3
version=$4
amd64_exhaustive=${5:-}
suite=bookworm
caption="Rotavel 1.1 - Quillo"
# What building, packaging and testing need, amd64 unless marked arm64.
packages=crossbuild-essential-arm64,qt6-base-dev,qt6-base-dev:arm64,cmake,ninja-build,make
packages=$packages,dpkg-dev,file,lintian,desktop-file-utils,appstream,groff-base
packages=$packages,qt6-translations-l10n,qemu-user-static,xvfb,xauth,xdotool

here=$(cd "$(dirname "$0")" && pwd)
. "$here/chroot.sh"

mkdir -p "$work"
work=$(cd "$work" && pwd)
source=$(cd "$source" && pwd)
root=$work/debian-12-cross
# The package list the system was made with: another list makes it anew.
made=$work/debian-12-cross.made
build=/root/build-arm64
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
    step "cross-building for arm64"
    copy_source "$source" "$root/root/rotavel"
    rm -f "$root$build/$deb"
    in_system "$root" cmake -S /root/rotavel -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_RPATH=ON \
        -DCMAKE_TOOLCHAIN_FILE=/root/rotavel/cmake/aarch64-linux-gnu.cmake
    in_system "$root" cmake --build $build
    step "packaging"
    # dpkg-shlibdeps reads the arm64 libraries' dependencies.
    in_system "$root" sh -c "cd $build && DEB_HOST_ARCH=arm64 cpack -G DEB"
    cp "$root$build/$deb" "$work/$deb"
    dpkg-deb -f "$work/$deb" Package Version Architecture Depends
    ls -l "$work/$deb"
    ;;
test)
    step "the tests under QEMU ($(in_system "$root" qemu-aarch64-static --version | head -n 1))"
    in_system "$root" sh -c "cd $build && QT_QPA_PLATFORM=offscreen \
        ctest --output-on-failure --no-tests=error -E '^tst_exhaustive\$'"

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
    echo "usage: $0 package|test WORK_DIR SOURCE VERSION [AMD64_EXHAUSTIVE]" >&2
    exit 2
    ;;
esac
step "done"
echo "arm64 $action passed in $(($(now) - started)) s"
