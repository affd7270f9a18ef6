#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# installer_test.sh VERSION START_SHORTCUT SCRATCH ARCH SETUP [OTHER_BUILD]
# The setup of architecture ARCH (x64 or x86) as a Windows user and an
# administrator meet it, run silently in the current Wine prefix (64-bit
# Windows, or 32-bit Windows for the x86 setup):
#   - it installs into the folder and the registry view the platform gives
#     its architecture, with a complete Apps entry and a Start-menu entry
#     that starts the program; its uninstaller leaves no file or key behind;
#   - uninstalled while the program runs, everything goes with the program
#     ended, or everything stays;
#   - over a newer Rotavel it refuses, with exit code 2, and changes nothing;
#     over the entry of an older one whose files are gone, it installs;
#   - on 64-bit Windows, with the other architecture's setup from the build
#     tree OTHER_BUILD: this, the other, this again, each replacing the last
#     (one entry, one folder, one Start-menu entry), then an uninstall that
#     leaves nothing.
# START_SHORTCUT is start_shortcut.exe; SCRATCH a folder for the listings.
set -eu
version=$1 start_shortcut=$2 scratch=$3 arch=$4 setup=$5
other_build=${6:-} other_arch=x64
[ "$arch" = x86 ] || other_arch=x86
fail() { printf 'FAIL: %s\n' "$*"; exit 1; }
passed=0
pass() { printf 'passed: %s\n' "$*"; passed=$((passed + 1)); }

drive="$WINEPREFIX/drive_c"
if [ -d "$drive/windows/syswow64" ]; then windows=64; else windows=32; fi
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rotavel'

# Where Windows keeps each architecture's programs and their Apps entries:
# a 64-bit program in Program Files and the 64-bit registry view; a 32-bit
# one in Program Files (x86) and the 32-bit view on 64-bit Windows, and in
# Program Files on 32-bit Windows, which has one view.
folder_of() {
    case $1-$windows in
    x64-64) echo 'C:\Program Files\Rotavel' ;;
    x86-64) echo 'C:\Program Files (x86)\Rotavel' ;;
    x86-32) echo 'C:\Program Files\Rotavel' ;;
    *) fail "no $1 program on $windows-bit Windows" ;;
    esac
}
view_of() { if [ "$1" = x64 ]; then echo 64; else echo 32; fi; }
views() { if [ $windows = 64 ]; then echo 64 32; else echo 32; fi; }
# Wine's reg.exe is the 32-bit one: it sees the 64-bit view only when told.
entry() { wine reg query "$key" /reg:"$1" 2>/dev/null | tr -d '\r'; }
value() { entry "$1" | sed -n "s/^    $2    REG_[A-Z_]*    //p"; }
registered() { for view in $(views); do entry "$view" | grep -q DisplayName && printf '%s ' "$view"; done; true; }
unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
shortcuts() { find "$drive" -path '*Start Menu*' -iname '*rotavel*.lnk' | sort; }
listing() { (cd "$drive" && find . -path ./windows -prune -o -path './users/*/Temp' -prune \
    -o -path './users/*/AppData/Local/Temp' -prune -o -print | sort); }
# Every registry key under Software, in both views.
keys() {
    for root in 'HKLM\Software' 'HKCU\Software'; do
        for view in $(views); do
            wine reg query "$root" /s /reg:$view 2>/dev/null | tr -d '\r' | grep '^HKEY' || true
        done
    done | sort -u
}

# The setup, silently; its exit code.
install() { status=0; wine "$1" /S || status=$?; wineserver -w; return $status; }
# The uninstaller, silently, as Apps runs it. It returns at once and goes on
# as a copy of itself: the wait is for that copy, and for any program it
# closes, to end. False when something still runs after a minute.
uninstall() { wine "$1\\Uninstall.exe" /S; timeout 60 wineserver -w; }
# Starts the program through the Start-menu entry; with --leave-open it
# goes on running. $target: the program file of the window that opened.
start() {
    link=$(shortcuts)
    [ "$(printf '%s\n' "$link" | grep -c .)" = 1 ] || fail "Start-menu entries: $link"
    status=0
    wine "$start_shortcut" "$(winepath -w "$link" | tr -d '\r')" "$@" >"$scratch/start" 2>&1 \
        || status=$?
    tr -d '\r' <"$scratch/start"
    [ $status = 0 ] || fail "the Start-menu entry does not start the program"
    target=$(tr -d '\r' <"$scratch/start" | sed -n 's/^started: //p')
}

# Everything one installation of architecture $1 is: its files in its
# folder, its entry alone in its view with every value Apps shows, and one
# Start-menu entry that starts its program.
check_installed() {
    local folder home view
    folder=$(folder_of "$1")
    home=$(unix_path "$folder")
    view=$(view_of "$1")
    [ "$(registered)" = "$view " ] || fail "$1: registered in the views '$(registered)', not $view"
    for file in rotavel.exe README.txt LICENSE.txt Uninstall.exe; do
        [ -f "$home/$file" ] || fail "$1: no $file in $folder"
    done
    # Apps shows the size of the files, in KiB.
    size=$(($(cat "$home"/* | wc -c) / 1024))
    while IFS='|' read -r field expected; do
        actual=$(value "$view" "$field")
        [ "$actual" = "$expected" ] || fail "$1: $field is '$actual', not '$expected'"
    done <<EOF
DisplayName|Rotavel ($1)
DisplayVersion|$version
Publisher|Rotavel
DisplayIcon|"$folder\\rotavel.exe",0
UninstallString|"$folder\\Uninstall.exe"
QuietUninstallString|"$folder\\Uninstall.exe" /S
InstallLocation|$folder
EstimatedSize|$(printf '0x%x' $size)
URLInfoAbout|https://github.com/rotavel/rotavel
NoModify|0x1
NoRepair|0x1
EOF
    start
    [ "$target" = "$folder\\rotavel.exe" ] || fail "$1: the Start-menu entry starts '$target'"
}

# Nothing left of any installation since the listings were taken.
check_nothing_left() {
    listing >"$scratch/files-after"
    keys >"$scratch/keys-after"
    diff "$scratch/files-before" "$scratch/files-after" || fail "$1: files left behind"
    diff "$scratch/keys-before" "$scratch/keys-after" || fail "$1: registry keys left behind"
}

rm -rf "$scratch"
mkdir -p "$scratch"
[ -z "$(registered)" ] || fail "an earlier installation is still registered"
listing >"$scratch/files-before"
keys >"$scratch/keys-before"
folder=$(folder_of "$arch")
home=$(unix_path "$folder")

install "$setup" || fail "the setup ended with $?"
check_installed "$arch"
pass "installed in $folder, registered in the $(view_of "$arch")-bit view, Apps entry complete"
uninstall "$folder" || fail "the uninstaller did not end"
check_nothing_left "uninstalled"
pass "uninstalled: no file, Start-menu entry or registry key left"

install "$setup" || fail "the setup ended with $?"
start --leave-open
if uninstall "$folder"; then
    check_nothing_left "uninstalled while running"
    pass "uninstalled while running: the program closed, then everything removed"
else
    wineserver -k
    check_installed "$arch"
    uninstall "$folder" || fail "the uninstaller did not end"
    pass "uninstalled while running: the program kept running and everything stayed"
fi

# Entries other releases leave, as their setups register them: a newer
# release, which the setup must not replace, and an older one whose files
# are gone, which it replaces.
view=$(view_of "$arch")
while IFS='|' read -r name other_version other_folder expected_status; do
    wine reg add "$key" /v DisplayVersion /d "$other_version" /f /reg:$view >/dev/null 2>&1
    wine reg add "$key" /v InstallLocation /d "$other_folder" /f /reg:$view >/dev/null 2>&1
    wineserver -w
    status=0
    install "$setup" || status=$?
    [ $status = "$expected_status" ] || fail "over $name the setup ended with $status"
    if [ $status = 0 ]; then
        check_installed "$arch"
        uninstall "$folder" || fail "the uninstaller did not end"
    else
        [ ! -e "$home" ] || fail "over $name the setup made $folder"
        [ -z "$(shortcuts)" ] || fail "over $name the setup made a Start-menu entry"
        [ "$(value "$view" DisplayVersion)" = "$other_version" ] || fail "over $name the entry changed"
        wine reg delete "$key" /f /reg:$view >/dev/null 2>&1
        wineserver -w
    fi
    check_nothing_left "over $name"
    pass "over $name the setup ends with $status"
done <<EOF
a newer Rotavel|99.0|C:\\Rotavel|2
an older Rotavel whose files are gone|1.0|C:\\Gone|0
EOF

if [ -n "$other_build" ] && [ $windows = 64 ]; then
    other_setup="$other_build/rotavel-$version-windows-$other_arch-setup.exe"
    other_home=$(unix_path "$(folder_of "$other_arch")")
    install "$setup" || fail "the $arch setup ended with $?"
    install "$other_setup" || fail "the $other_arch setup over $arch ended with $?"
    check_installed "$other_arch"
    [ "$home" = "$other_home" ] || [ ! -e "$home" ] || fail "the $arch folder stays beside $other_arch"
    install "$setup" || fail "the $arch setup over $other_arch ended with $?"
    check_installed "$arch"
    [ "$home" = "$other_home" ] || [ ! -e "$other_home" ] || fail "the $other_arch folder stays"
    uninstall "$folder" || fail "the uninstaller did not end"
    check_nothing_left "uninstalled after both architectures"
    pass "$arch, then $other_arch, then $arch: each replaced the last; uninstalled, nothing left"
fi
echo "$passed passed, 0 failed"
