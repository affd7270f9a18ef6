# SPDX-License-Identifier: GPL-3.0-or-later
# Shell functions shared by the tests in clean Debian systems: each system is
# made from Debian's archive with mmdebstrap into a directory of the build
# tree, used through chroot with the kernel's file systems mounted, and taken
# down again whatever happens (the callers trap EXIT). Run as root.
#
# Every path is taken physically (readlink -f), as the kernel names it in
# /proc: a build tree reached through a symbolic link is still recognised in
# the mount table and as a process's root. Nothing is deleted while anything
# is mounted at or below it.

debian_mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

# Seconds since the epoch, for the step times the tests print.
now()
{
    date +%s
}

# step TITLE: prints the title and the time since the previous step.
step_started=$(now)
step()
{
    echo "== [$(($(now) - step_started)) s] $*"
    step_started=$(now)
}

# make_system ROOT SUITE ARCHITECTURES PACKAGES
# A fresh system of SUITE in ROOT (which must not exist), with apt and the
# comma-separated PACKAGES. Services are never started inside it: nothing
# runs there but what the test starts, so nothing keeps its mounts busy.
# apt retries a failed download there, and the whole system is made once
# more if the archive failed it the first time (a mirror being updated).
make_system()
{
    for attempt in 1 2; do
        if mmdebstrap --variant=apt --architectures="$3" --include="$4" \
            --aptopt='Acquire::Retries "5"' \
            --customize-hook='printf "#!/bin/sh\nexit 101\n" >"$1/usr/sbin/policy-rc.d"' \
            --customize-hook='chmod 755 "$1/usr/sbin/policy-rc.d"' \
            "$2" "$1" "$debian_mirror"; then
            return 0
        fi
        remove_system "$1"
        [ "$attempt" = 2 ] || echo "mmdebstrap failed; once more"
    done
    return 1
}

# physical PATH: PATH with every symbolic link resolved, as /proc names it.
# Refuses a path the mount table would write otherwise (blanks, backslashes).
physical()
{
    local resolved
    resolved=$(readlink -f "$1") || return 1
    case $resolved in
    / | "" | *[[:space:]\\]*)
        echo "refusing the path '$1' ('$resolved')" >&2
        return 1
        ;;
    esac
    echo "$resolved"
}

# unmounted PATH WHAT: fails, naming them, if any mount point is at PATH or
# below it; WHAT says what was about to happen there.
unmounted()
{
    local still
    still=$(awk -v path="$1" '$2 == path || index($2, path "/") == 1 { print $2 }' /proc/self/mounts)
    [ -z "$still" ] && return 0
    echo "$2 $1: still mounted there:" >&2
    echo "$still" >&2
    return 1
}

# enter_system ROOT: the kernel's file systems a build, apt and an X server
# need, mounted inside ROOT; name resolution as on this machine.
enter_system()
{
    local root
    root=$(physical "$1") || return 1
    mount -t proc proc "$root/proc"
    mount -t sysfs -o ro sysfs "$root/sys"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
    ln -sf pts/ptmx "$root/dev/ptmx"
    mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
    if [ -f /etc/resolv.conf ]; then
        cp -L /etc/resolv.conf "$root/etc/resolv.conf"
    fi
}

# in_system ROOT COMMAND...: runs COMMAND inside ROOT as root, in a clean
# environment without a terminal, as continuous integration runs. A proxy
# this machine reaches the archive through is handed on.
in_system()
{
    local root
    root=$(physical "$1") || return 1
    shift
    chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root LANG=C.UTF-8 CI=true DEBIAN_FRONTEND=noninteractive \
        ${CMAKE_BUILD_PARALLEL_LEVEL:+CMAKE_BUILD_PARALLEL_LEVEL=$CMAKE_BUILD_PARALLEL_LEVEL} \
        ${http_proxy:+http_proxy=$http_proxy} ${https_proxy:+https_proxy=$https_proxy} \
        ${no_proxy:+no_proxy=$no_proxy} \
        "$@" </dev/null
}

# leave_system ROOT: ends every process still running inside ROOT and
# unmounts what enter_system mounted; fails if anything stays mounted there.
leave_system()
{
    local root proc mounted
    [ -d "$1" ] || return 0
    root=$(physical "$1") || return 1
    for proc in /proc/[0-9]*; do
        case $(readlink "$proc/root" 2>/dev/null) in
        "$root" | "$root"/*) kill -KILL "${proc#/proc/}" 2>/dev/null || true ;;
        esac
    done
    for mounted in dev/shm dev/pts sys proc; do
        if mountpoint -q "$root/$mounted"; then
            umount "$root/$mounted" 2>/dev/null || umount -l "$root/$mounted" || true
        fi
    done
    unmounted "$root" "cannot leave"
}

# remove_tree DIR: deletes DIR, a build folder that may hold systems made
# here. Each system inside is left first (its processes ended, its kernel
# file systems unmounted); nothing is deleted while anything is still
# mounted at or below DIR, and the deletion never crosses into another file
# system. A DIR that is itself a symbolic link loses the link only: what it
# points to is not this tree's to delete.
remove_tree()
{
    local tree system
    [ -e "$1" ] || [ -L "$1" ] || return 0
    if [ -L "$1" ]; then
        rm -f "$1"
        return
    fi
    tree=$(physical "$1") || return 1
    for system in "$tree" "$tree"/*; do
        if [ -d "$system/proc" ] && [ ! -L "$system" ]; then
            leave_system "$system" || return 1
        fi
    done
    unmounted "$tree" "not removing" || return 1
    rm -rf --one-file-system "$tree"
}

# remove_system ROOT: leaves the system and deletes it, as remove_tree does.
remove_system()
{
    remove_tree "$1"
}

# window_maps ROOT SECONDS CAPTION PROGRAM...: starts PROGRAM inside ROOT on
# an X server of its own; its window must map with CAPTION within SECONDS,
# the program must still be running then, and it must end when told to.
window_maps()
{
    root=$1 map_seconds=$2 map_caption=$3
    shift 3
    in_system "$root" xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
        seconds=$1 caption=$2
        shift 2
        "$@" &
        program=$!
        window=$(timeout "$seconds" xdotool search --sync --onlyvisible --name "^$caption\$" \
            | head -n 1)
        if [ -z "$window" ]; then
            echo "FAIL: no window named \"$caption\" mapped within $seconds s"
            kill $program 2>/dev/null
            exit 1
        fi
        echo "window $window mapped: \"$(xdotool getwindowname $window)\""
        if ! kill -0 $program 2>/dev/null; then
            echo "FAIL: $1 ended on its own"
            exit 1
        fi
        kill -TERM $program
        wait $program
        echo "closed"
    ' window-test "$map_seconds" "$map_caption" "$@"
}
