#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# installer_test.sh CPACK CONFIG SCRATCH START_SHORTCUT
# Makes the installer from the build's package configuration, installs it
# silently into the current Wine prefix, starts the program through its
# Start-menu entry (START_SHORTCUT, start_shortcut.exe) and checks what the
# finish page would start; then runs the uninstaller silently and checks
# that everything the installer made is gone: files, Start-menu entry and
# registry keys alike. Where the program lands is the installer's choice
# (a 64-bit installer under a 32-bit Wine lands in Program Files (x86)):
# the Start-menu entry says where.
set -eu
cpack=$1 config=$2 scratch=$3 start_shortcut=$4
fail() { echo "FAIL: $*"; exit 1; }
passed=0
pass() { printf 'passed: %s\n' "$*"; passed=$((passed + 1)); }

rm -rf "$scratch"
"$cpack" --config "$config" -G NSIS -B "$scratch" >"$scratch.log" 2>&1 \
    || { cat "$scratch.log"; fail "cpack made no installer"; }
setup=$(ls "$scratch"/rotavel-*-windows-*-setup.exe)

drive="$WINEPREFIX/drive_c"
listing() { (cd "$drive" && find . -path ./windows -prune -o -path './users/*/Temp' -prune \
    -o -path './users/*/AppData/Local/Temp' -prune -o -print | sort); }
# Every registry key under Software, in the 64-bit and the 32-bit view.
keys() {
    for root in 'HKLM\Software' 'HKCU\Software'; do
        for view in 64 32; do
            wine reg query "$root" /s /reg:$view 2>/dev/null | tr -d '\r' | grep '^HKEY' \
                || true
        done
    done | sort -u
}
registered() {
    for view in 64 32; do
        wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rotavel' \
            /reg:$view >/dev/null 2>&1 && return 0
    done
    return 1
}
listing >"$scratch/files-before"
keys >"$scratch/keys-before"
registered && fail "an earlier installation is still registered"

wine "$setup" /S
wineserver -w
link=$(cd "$drive" && find . -path '*Start Menu*' -name 'Rotavel.lnk' | head -n 1)
[ -n "$link" ] || fail "a Start-menu entry"
registered || fail "registered for Apps and Features"

# The Start-menu entry starts the program: its window opens and closes.
# (Paths with backslashes go through printf: echo may read "\r" as a
# carriage return.)
status=0
wine "$start_shortcut" "C:\\$(printf '%s' "${link#./}" | tr / '\\')" >"$scratch/start" 2>&1 \
    || status=$?
tr -d '\r' <"$scratch/start"
[ $status = 0 ] || fail "the Start-menu entry does not start the program"
target=$(tr -d '\r' <"$scratch/start" | sed -n 's/^target: //p' | tr '\\' /)
home=$(winepath -u "$(dirname "$target")")
[ "$(basename "$target")" = rotavel.exe ] || fail "the entry names $target"
for file in rotavel.exe README.txt LICENSE.txt Uninstall.exe; do
    [ -f "$home/$file" ] || fail "installed beside the program: $file"
done
pass "installed $(cd "$home" && ls | tr '\n' ' ')and $link, which starts $target"

# The finish page's "Run" starts the same program file.
run=$(sed -n 's/^ *!define MUI_FINISHPAGE_RUN "\(.*\)"$/\1/p' "$scratch"/_CPack_Packages/*/NSIS/project.nsi)
[ -n "$run" ] || fail "no program to run on the finish page"
run_file=$(printf '%s' "$run" | sed 's/^\$INSTDIR//' | tr '\\' / | sed 's|^/\./|/|; s|/\./|/|g')
[ -f "$home$run_file" ] || fail "the finish page runs $run, which is not installed"
[ "$home$run_file" -ef "$home/rotavel.exe" ] || fail "the finish page runs $run"
pass "the finish page runs $run"

wine "$home/Uninstall.exe" /S
wineserver -w
# The uninstaller runs as a copy of itself, which may still be finishing.
for _ in 1 2 3 4 5 6 7 8 9 10; do
    [ -e "$home" ] || break
    sleep 1
done
listing >"$scratch/files-after"
keys >"$scratch/keys-after"
registered && fail "still registered after uninstalling"
if ! diff "$scratch/files-before" "$scratch/files-after" >"$scratch/left"; then
    cat "$scratch/left"
    fail "files left behind by the uninstaller"
fi
if ! diff "$scratch/keys-before" "$scratch/keys-after" >"$scratch/left"; then
    cat "$scratch/left"
    fail "registry keys left behind by the uninstaller"
fi
pass "uninstalled: no file, shortcut or registry key left"
echo "$passed passed, 0 failed"
