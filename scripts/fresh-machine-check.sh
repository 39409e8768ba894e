#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the README's test command passes on a bare Debian 12: builds a
# minimal root (apt, git and certificates, nothing else) from this machine's
# own apt sources, clones the committed HEAD into it and runs ./test there as
# root, as a new user would right after cloning. Takes many minutes.
#
#   scripts/fresh-machine-check.sh [--keep]
#
# --keep leaves the root in /var/tmp afterwards for a look. The last line
# says whether the check passed and how long it took.
set -euo pipefail

keep=false
[[ ${1:-} == --keep ]] && keep=true
repo=$(cd "$(dirname "$0")/.." && pwd)
head=$(git -C "$repo" rev-parse --short HEAD)

if [[ $(id -u) -ne 0 ]]; then
    exec sudo "$0" "$@"
fi

seconds() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

# Runs a command line in the root with a login shell's bare environment.
in_root() {
    env -i HOME=/root USER=root LOGNAME=root SHELL=/bin/bash TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        chroot "$root" /bin/bash -lc "$1"
}

mounted=()
mount_in_root() { # mount_in_root TARGET MOUNT-ARGS...
    local target=$root$1
    shift
    mount "$@" "$target"
    mounted+=("$target")
}

# Processes started inside the root (a scheduler or X server a failed test
# left behind) would keep its mounts busy.
stop_leftovers() {
    local proc
    for proc in /proc/[0-9]*; do
        if [[ $(readlink "$proc/root" 2>/dev/null) == "$root" ]]; then
            kill -9 "${proc#/proc/}" 2>/dev/null || true
        fi
    done
}

unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
    done
}

# Runs however the check ends, and says last how it went.
finish() {
    local status=$? ended=$SECONDS verdict=PASSED
    stop_leftovers
    unmount_all
    if $keep; then
        echo "the root is kept at $root"
    elif findmnt -rn -o TARGET | grep -qF "$root/"; then
        # Never delete through a mount that is still there: /dev is the host's.
        echo "something is still mounted under $root: not deleting it" >&2
    else
        rm -rf --one-file-system "$root"
    fi
    [[ $status -eq 0 ]] || verdict="FAILED (exit $status, in $phase)"
    echo "fresh-machine check of $head: $verdict in $(seconds $((ended - started)))" \
        "(bootstrap $(seconds "$bootstrap_time"), ./test $(seconds "$test_time"))"
}

if ! dpkg-query -W -f='${Status}' mmdebstrap 2>/dev/null | grep -q 'install ok installed'; then
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends mmdebstrap
fi

# This machine's apt sources, as they are.
sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [[ -f $file ]] && grep -qvE '^[[:space:]]*(#|$)' "$file" && sources+=("$file")
done
[[ ${#sources[@]} -gt 0 ]] || { echo "no apt sources found in /etc/apt" >&2; exit 1; }

[[ -z $(git -C "$repo" status --porcelain --untracked-files=no) ]] ||
    echo "note: uncommitted changes are not part of the check, only commit $head"

root=$(mktemp -d /var/tmp/tavimark-fresh.XXXXXX)
started=$SECONDS
bootstrap_time=0
test_time=0
phase=bootstrap
trap finish EXIT
# Bash skips the EXIT trap when a signal ends it, so signals end it by exit.
trap 'exit 130' INT
trap 'exit 143' TERM HUP

echo "== bootstrapping a bare Debian 12 in $root"
mmdebstrap --variant=apt --include=ca-certificates,git bookworm "$root" "${sources[@]}"
bootstrap_time=$((SECONDS - started))

phase=mounts
# As on any machine where no init runs, services that packages install must
# not start: they would share this machine's network and outlive the check.
printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
mount_in_root /proc -t proc proc
mount_in_root /sys -t sysfs sysfs
mount_in_root /dev --bind /dev
mount --make-private "$root/dev"
mount_in_root /dev/pts --bind /dev/pts
mount_in_root /dev/shm -t tmpfs -o mode=1777 tmpfs

phase=clone
echo "== cloning commit $head"
git -C "$repo" bundle create "$root/tmp/tavimark.bundle" HEAD
in_root 'git clone -q -c advice.detachedHead=false /tmp/tavimark.bundle /root/tavimark'

phase=./test
echo "== running ./test in the bare root"
test_started=$SECONDS
status=0
in_root 'cd /root/tavimark && ./test' || status=$?
test_time=$((SECONDS - test_started))
exit "$status"
