#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# installer_test.sh CPACK CONFIG SCRATCH
# Makes the installer from the build's package configuration, installs it
# silently into the current Wine prefix, checks what it put there, runs the
# uninstaller silently and checks that everything it installed is gone,
# files, Start-menu entry and uninstall registration alike.
set -eu
cpack=$1 config=$2 scratch=$3
fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$scratch"
"$cpack" --config "$config" -G NSIS -B "$scratch" >"$scratch.log" 2>&1 \
    || { cat "$scratch.log"; fail "cpack made no installer"; }
setup=$(ls "$scratch"/rotavel-*-windows-x64-setup.exe)

drive="$WINEPREFIX/drive_c"
listing() { (cd "$drive" && find . -path ./windows -prune -o -path './users/*/Temp' -prune \
    -o -path './users/*/AppData/Local/Temp' -prune -o -print | sort); }
registered() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rotavel' >/dev/null 2>&1
}
listing >"$scratch/before"
registered && fail "an earlier installation is still registered"

wine "$setup" /S
wineserver -w
home="$drive/Program Files/Rotavel"
for file in rotavel.exe README.txt LICENSE.txt Uninstall.exe; do
    [ -f "$home/$file" ] || fail "installed: $file"
done
shortcut=$(cd "$drive" && find . -path '*Start Menu*' -name 'Rotavel.lnk' | head -n 1)
[ -n "$shortcut" ] || fail "a Start-menu entry"
registered || fail "registered for Apps and Features"
echo "installed: $(cd "$home" && ls | tr '\n' ' ')and $shortcut"

wine "$home/Uninstall.exe" /S
wineserver -w
# The uninstaller runs as a copy of itself, which may still be finishing.
for _ in 1 2 3 4 5 6 7 8 9 10; do
    [ -e "$home" ] || break
    sleep 1
done
listing >"$scratch/after"
registered && fail "still registered after uninstalling"
if ! diff "$scratch/before" "$scratch/after" >"$scratch/left"; then
    cat "$scratch/left"
    fail "left behind by the uninstaller"
fi
echo "uninstalled: nothing left"
echo "2 passed, 0 failed"
