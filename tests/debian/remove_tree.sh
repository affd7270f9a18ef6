#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Deletes build folders that may hold clean Debian systems, through the
# guard of chroot.sh (remove_tree): each system left first, nothing deleted
# while anything is mounted below. `make clean` runs it, as root where a
# folder holds root's files.
#
# Usage: remove_tree.sh DIR...
set -u

. "$(dirname "$(readlink -f "$0")")/chroot.sh"

status=0
for tree in "$@"; do
    remove_tree "$tree" || status=1
done
exit $status
