#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The set-up as a new operator on the current Debian meets it: a clean Debian
# 13 system made from Debian's archive, a fresh clone of this repository's
# committed HEAD in it, and the README's `make test` run there as it stands.
# Then the Debian 12 package built outside is installed into the same system
# with apt, and its window must map on an X server with its caption.
#
# Usage: distro_test.sh WORK_DIR REPOSITORY PACKAGE
# WORK_DIR holds the system while the test runs and is emptied afterwards.
# Run as root.
set -eu

work=$1
repository=$2
package=$3
suite=trixie
caption="Rotavel 1.1 - Quillo"

here=$(cd "$(dirname "$0")" && pwd)
. "$here/chroot.sh"

mkdir -p "$work"
work=$(cd "$work" && pwd)
root=$work/debian-13
started=$(now)
trap 'remove_system "$root"' EXIT
trap 'exit 130' INT TERM
# What an earlier run that was killed outright may have left.
remove_system "$root"

step "making a Debian 13 ($suite) system in $root"
# The README assumes make, and git to have cloned the repository.
make_system "$root" "$suite" amd64 make,git,ca-certificates
enter_system "$root"
echo "Debian $(cat "$root/etc/debian_version"), $(du -sh "$root" | cut -f1)"

step "cloning $(git -C "$repository" rev-parse --short HEAD) of $repository"
commit=$(git -C "$repository" rev-parse HEAD)
git clone --quiet --no-hardlinks "$repository" "$root/root/rotavel"
git -C "$root/root/rotavel" checkout --quiet --detach "$commit"

step "make test in Debian 13"
in_system "$root" sh -c 'cd /root/rotavel && make test'

step "installing $(basename "$package") with apt"
cp "$package" "$root/tmp/"
in_system "$root" apt-get install -y --no-install-recommends \
    "/tmp/$(basename "$package")" xvfb xauth xdotool
in_system "$root" dpkg-query -W rotavel

step "starting the window under Xvfb"
window_maps "$root" 60 "$caption" rotavel

step "done"
echo "distro-test passed in $(($(now) - started)) s"
