# SPDX-License-Identifier: GPL-3.0-or-later
# Shell functions shared by the tests in clean Debian systems: each system is
# made from Debian's archive with mmdebstrap into a directory of the build
# tree, used through chroot with the kernel's file systems mounted, and taken
# down again whatever happens (the callers trap EXIT). Run as root.

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

# enter_system ROOT: the kernel's file systems a build, apt and an X server
# need, mounted inside ROOT; name resolution as on this machine.
enter_system()
{
    root=$1
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
    root=$1
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
    root=$1
    [ -d "$root" ] || return 0
    for proc in /proc/[0-9]*; do
        if [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ]; then
            kill -KILL "${proc#/proc/}" 2>/dev/null || true
        fi
    done
    for mounted in dev/shm dev/pts sys proc; do
        if mountpoint -q "$root/$mounted"; then
            umount "$root/$mounted" 2>/dev/null || umount -l "$root/$mounted" || true
        fi
    done
    if grep -q " $root/" /proc/self/mounts; then
        echo "still mounted inside $root:" >&2
        grep " $root/" /proc/self/mounts >&2
        return 1
    fi
}

# remove_system ROOT: leaves the system and deletes it. Nothing is deleted
# while anything is still mounted inside it, and the deletion never crosses
# into another file system.
remove_system()
{
    root=$1
    [ -d "$root" ] || return 0
    leave_system "$root" || return 1
    rm -rf --one-file-system "$root"
}

# copy_source SOURCE DEST: the source tree as it is now, without build trees
# or anything else git ignores, into DEST (emptied first).
copy_source()
{
    rm -rf --one-file-system "$2"
    mkdir -p "$2"
    if git -C "$1" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git -C "$1" ls-files -z --cached --others --exclude-standard \
            | (cd "$1" && tar --null --ignore-failed-read --files-from=- -cf -) | tar -C "$2" -xf -
    else
        (cd "$1" && tar --exclude='./build*' -cf - .) | tar -C "$2" -xf -
    fi
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
