#!/usr/bin/env bash
# Proves Debian 13 (trixie), the current stable release, the way .ci/run proves Debian 12: in a
# minimal trixie system, a clone of this repository's committed HEAD runs the README's own
# scripts/test as root, which installs what it needs itself. The chroot is made once with
# debootstrap from the machine's Debian mirror (a few minutes) and kept in DIR; for a newcomer's
# first run, give a DIR that does not exist yet. Run as root, on demand: it takes as long as
# scripts/test and the installs together.
#   tests/package/trixie.sh [DIR]
set -euo pipefail
source=$(cd "$(dirname "$0")/../.." && pwd)
root=$(mkdir -p "${1:-$source/build/trixie}" && cd "${1:-$source/build/trixie}" && pwd)
mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}

[ -x "$root/usr/bin/apt-get" ] || debootstrap --variant=minbase trixie "$root" "$mirror"
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
