#!/usr/bin/env bash
# Proves another Debian release the way .ci/run proves Debian 12: in a minimal system of that
# release, a clone of this repository's committed HEAD runs the README's own scripts/test as
# root, which installs what it needs itself. RELEASE is trixie (Debian 13, the current stable
# release) or testing (the next one, with today's Qt). The chroot is made once with debootstrap
# from the machine's Debian mirror (a few minutes) and kept in DIR; for a newcomer's first run,
# give a DIR that does not exist yet. Run as root, on demand: it takes as long as scripts/test
# and the installs together.
#   tests/package/chroot.sh RELEASE [DIR]
set -euo pipefail
source=$(cd "$(dirname "$0")/../.." && pwd)
release=${1:?usage: $0 trixie|testing [DIR]}
root=$(mkdir -p "${2:-$source/build/$release}" && cd "${2:-$source/build/$release}" && pwd)
mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}

if [ ! -x "$root/usr/bin/apt-get" ]; then
    # testing has no script of its own: it is made as sid is.
    debootstrap --variant=minbase "$release" "$root" "$mirror" /usr/share/debootstrap/scripts/sid
fi
if [ "$release" = testing ]; then
    # A mirror that is a snapshot of the archive serves a testing whose Release file has
    # expired; only this chroot's apt is told to take it.
    echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99snapshot"
fi
# What apt, Xvfb and D-Bus need of the running system.
mounted=()
unmount() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || true; done
}
trap unmount EXIT
mount_once() {
    mountpoint -q "$root/$3" || { mount -t "$1" "$2" "$root/$3" && mounted+=("$root/$3"); }
}
mkdir -p "$root/dev/pts" "$root/dev/shm"
mount_once proc proc proc
mount_once sysfs sysfs sys
mount_once devpts devpts dev/pts
mount_once tmpfs tmpfs dev/shm
cp /etc/resolv.conf "$root/etc/resolv.conf"
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q git >/dev/null

rm -rf "$root/src"
git clone -q "$source" "$root/src"
chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb \
    bash -c 'cd /src && scripts/test'
