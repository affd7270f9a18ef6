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

# make_system ROOT SUITE ARCHITECTURES PACKAGES [MMDEBSTRAP OPTION...]
# A fresh system of SUITE in ROOT (which must not exist), with apt and the
# comma-separated PACKAGES. Services are never started inside it: nothing
# runs there but what the test starts, so nothing keeps its mounts busy.
make_system()
{
    root=$1
    suite=$2
    architectures=$3
    packages=$4
    shift 4
    mmdebstrap --variant=apt --architectures="$architectures" --include="$packages" \
        --customize-hook='printf "#!/bin/sh\nexit 101\n" >"$1/usr/sbin/policy-rc.d"' \
        --customize-hook='chmod 755 "$1/usr/sbin/policy-rc.d"' \
        "$@" "$suite" "$root" "$debian_mirror"
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
# environment without a terminal, as continuous integration runs.
in_system()
{
    root=$1
    shift
    chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root LANG=C.UTF-8 CI=true DEBIAN_FRONTEND=noninteractive \
        ${CMAKE_BUILD_PARALLEL_LEVEL:+CMAKE_BUILD_PARALLEL_LEVEL=$CMAKE_BUILD_PARALLEL_LEVEL} \
        "$@" </dev/null
}

# remove_system ROOT: ends every process still running inside ROOT,
# unmounts what enter_system mounted and deletes the system. Nothing is
# deleted while anything is still mounted inside it, and the deletion never
# crosses into another file system.
remove_system()
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
        echo "still mounted inside $root, left in place:" >&2
        grep " $root/" /proc/self/mounts >&2
        return 1
    fi
    rm -rf --one-file-system "$root"
}
