#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# program_file_test.sh OBJDUMP PROGRAM
# The Windows program file stands alone and starts on Windows 7 SP1: it
# imports system DLLs only (no C++, GCC or threads runtime to ship beside
# it), nothing that windows7_lacks.txt beside this script lists as missing
# from Windows 7, asks for no newer system in its header, and takes at most
# 1 MiB.
set -eu
objdump=$1 program=$2 lacks=$(dirname "$0")/windows7_lacks.txt
fail() { echo "FAIL: $*"; exit 1; }
lower() { tr 'A-Z' 'a-z'; }

size=$(stat -c %s "$program")
[ "$size" -le 1048576 ] || fail "$size bytes, more than 1 MiB"
# In UTC: objdump writes the time stamp as a local time.
header=$(TZ=UTC "$objdump" -p "$program")
# "dll function" for each imported function, "dll" alone for each DLL.
imports=$(echo "$header" | awk '
    /^[[:space:]]*DLL Name: / { dll = tolower($3); print dll; next }
    /^[[:space:]]*$/ { dll = "" }
    dll != "" && /^[[:space:]]*[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[^[:space:]]+/ { print dll, $3 }')
dlls=$(echo "$imports" | awk 'NF == 1' | sort -u)
[ -n "$dlls" ] || fail "no imports read"
for dll in $dlls; do
    case $dll in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll | ole32.dll | oleaut32.dll) ;;
    *) fail "imports $dll" ;;
    esac
done

# The first function of the list that the program imports, as it spells it.
lacked=$(echo "$imports" | grep -ixF "$(awk '/^[^#]/ { print $1, $2 }' "$lacks")" | head -n 1)
[ -z "$lacked" ] || fail "imports ${lacked#* } from ${lacked%% *}, which Windows 7 lacks"

# Windows 7 is version 6.1; a program asking for a later one does not start.
subsystem=$(echo "$header" | awk '/^MajorSubsystemVersion/ { major = $2 }
    /^MinorSubsystemVersion/ { minor = $2 } END { print major * 100 + minor }')
[ "$subsystem" -le 601 ] || fail "asks for Windows version $subsystem (x100), later than 7"

# The header's time stamp is 0 (the epoch itself), and so is each table's of
# the resource directory.
stamp=$(echo "$header" | awk -F'\t+' '/^Time\/Date/ { print $2 }')
[ "$stamp" = "Thu Jan  1 00:00:00 1970" ] || fail "the header carries the time '$stamp'"
resource_times=$(echo "$header" | grep -o 'Time: [0-9a-f]*' | sort -u)
[ -z "$resource_times" ] || [ "$resource_times" = "Time: 00000000" ] \
    || fail "the resources carry times: $(echo $resource_times)"

echo "$((size / 1024)) KiB, imports:" $dlls "($(echo "$imports" | awk 'NF == 2' | wc -l) functions)"
echo "4 passed, 0 failed"
