#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copies the source tree as it is now into DEST (which must not exist yet):
# in a git work tree what git tracks or would track, uncommitted changes
# included and everything git ignores (the build folders) left out; in an
# unpacked release tarball everything but the build folders.
#
# Usage: copy_source.sh SOURCE DEST
set -eu

source=$1
dest=$2
if [ -e "$dest" ]; then
    echo "copy_source.sh: $dest exists already" >&2
    exit 1
fi
mkdir -p "$dest"
if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # A file deleted but not yet committed is listed and skipped.
    git -C "$source" ls-files -z --cached --others --exclude-standard \
        | (cd "$source" && tar --null --ignore-failed-read --warning=no-failed-read --files-from=- -cf -) | tar -C "$dest" -xf -
else
    (cd "$source" && tar --exclude='./build*' -cf - .) | tar -C "$dest" -xf -
fi
