#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What `make clean` and the clean-system tests delete, reached through a
# symbolic link as a build tree under a linked home folder is: with a file
# system still mounted inside a system there, remove_tree (chroot.sh) must
# refuse and delete nothing at all; leave_system must unmount the kernel's
# file systems of a system reached through the link; once nothing is
# mounted, remove_tree must delete the tree and nothing beside it.
#
# Runs as root in a mount namespace of its own, so that no mount it makes
# outlives it whatever happens; skipped (77) where that cannot be had.
set -u

if [ "$(id -u)" != 0 ] || ! command -v unshare >/dev/null || ! command -v mount >/dev/null; then
    echo "SKIP: needs root, unshare and mount"
    exit 77
fi
if [ -z "${ROTAVEL_OWN_MOUNTS:-}" ]; then
    # Inside a chroot (make test in the clean Debian 13 system) the root is
    # no mount point, and a private mount namespace cannot be had.
    if ! unshare --mount --propagation private true 2>/dev/null; then
        echo "SKIP: no private mount namespace here"
        exit 77
    fi
    ROTAVEL_OWN_MOUNTS=1 exec unshare --mount --propagation private sh "$0" "$@"
fi

. "$(dirname "$(readlink -f "$0")")/chroot.sh"

scratch=$(mktemp -d)
scratch=$(readlink -f "$scratch")
trap 'umount -R "$scratch/real" 2>/dev/null; rm -rf --one-file-system "$scratch"' EXIT
failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# scratch/linked -> scratch/real; the build tree is real/tree with a system
# inside, and a file beside the tree that must survive.
system=$scratch/real/tree/debian-13
mkdir -p "$system/proc" "$system/sys" "$system/dev/pts" "$system/dev/shm" "$system/etc" \
    "$system/root" "$system/mnt/kept"
ln -s real "$scratch/linked"
echo beside >"$scratch/real/beside"
echo work >"$system/root/work"
mount -t tmpfs tmpfs "$system/mnt/kept"
echo mounted >"$system/mnt/kept/file"

# A mount remove_tree does not know of: it must refuse, and delete nothing.
if remove_tree "$scratch/linked/tree" 2>"$scratch/refusal"; then
    fail "remove_tree went ahead with a file system mounted inside"
fi
[ -f "$system/root/work" ] \
    || fail "remove_tree deleted files while a file system was mounted inside"
[ -f "$system/mnt/kept/file" ] || fail "the mounted file system was emptied"
umount "$system/mnt/kept"

# The kernel's file systems of a system, mounted and left through the link.
enter_system "$scratch/linked/tree/debian-13"
leave_system "$scratch/linked/tree/debian-13" || fail "leave_system left mounts behind"
left=$(grep -F " $scratch/real/" /proc/self/mounts)
[ -z "$left" ] || fail "still mounted after leave_system: $left"

# A tree that is itself a link: the link goes, not what it points to.
ln -s "$scratch/real/tree" "$scratch/tree-link"
remove_tree "$scratch/tree-link" || fail "remove_tree refused a link"
[ ! -L "$scratch/tree-link" ] || fail "remove_tree left a link that was the tree"
[ -f "$system/root/work" ] || fail "remove_tree deleted what a link that was the tree points to"

# Nothing mounted: the tree goes, what is beside it stays.
remove_tree "$scratch/linked/tree" || fail "remove_tree refused with nothing mounted"
[ ! -e "$scratch/real/tree" ] || fail "remove_tree left the tree"
[ -f "$scratch/real/beside" ] || fail "remove_tree deleted a file beside the tree"
[ -L "$scratch/linked" ] || fail "remove_tree deleted the link it was reached through"

[ "$failures" = 0 ] && echo "remove_tree and leave_system: all checks passed"
exit "$failures"
