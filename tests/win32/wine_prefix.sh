#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# wine_prefix.sh PREFIX DPI [--fresh | --throw-away] COMMAND...
# Runs COMMAND (under Wine where it is a Windows program file) in the Wine
# prefix PREFIX, made on first use (with --fresh, anew) for a screen of DPI
# dots per inch: quiet, without the .NET and browser engines a first start
# offers to install, and without a display where there is none. With
# --throw-away, COMMAND runs in a copy of the prefix's settings (its
# registry), removed afterwards: what it changes there never reaches the
# prefix and the later tests, even when it is killed half-way. The copy
# shares the prefix's drive C:, which such a command must leave alone.
set -e
prefix=$1 dpi=$2 how=$3
shift 2
case $how in --fresh | --throw-away) shift ;; *) how= ;; esac
case $1 in *.exe) set -- wine "$@" ;; esac
if [ "$how" = --fresh ]; then
    # Whatever still runs in the old prefix goes with it.
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
fi
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/.made" ]; then
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    if [ -z "$DISPLAY" ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f >/dev/null 2>&1
    fi
    wineserver -w
    touch "$prefix/.made"
fi
if [ "$how" = --throw-away ]; then
    prefix=$(cd "$prefix" && pwd -P)
    copy=$(mktemp -d "$prefix.throw-away.XXXXXX")
    trap 'WINEPREFIX="$copy" wineserver -k 2>/dev/null || true; rm -rf "$copy"' EXIT
    trap 'exit 1' HUP INT TERM
    cp -p "$prefix"/*.reg "$prefix"/.update-timestamp "$prefix"/.made "$copy"/
    cp -RP "$prefix"/dosdevices "$copy"/
    ln -s "$prefix"/drive_c "$copy"/drive_c
    prefix=$copy
    export WINEPREFIX="$copy"
fi
# A console program's lines end in CR LF under Wine.
output="$prefix/output.$$"
status=0
"$@" >"$output" 2>&1 || status=$?
tr -d '\r' <"$output"
rm -f "$output"
exit $status
