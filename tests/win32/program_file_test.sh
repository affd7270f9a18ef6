#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# program_file_test.sh OBJDUMP PROGRAM
# The Windows program file stands alone: it imports system DLLs only (no
# C++, GCC or threads runtime to ship beside it) and takes at most 1 MiB.
set -eu
objdump=$1 program=$2
fail() { echo "FAIL: $*"; exit 1; }

size=$(stat -c %s "$program")
[ "$size" -le 1048576 ] || fail "$size bytes, more than 1 MiB"
imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort)
[ -n "$imports" ] || fail "no imports read"
for dll in $imports; do
    case $dll in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll) ;;
    *) fail "imports $dll" ;;
    esac
done
echo "$((size / 1024)) KiB, imports:" $imports
echo "2 passed, 0 failed"
