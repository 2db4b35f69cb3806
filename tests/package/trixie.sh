#!/usr/bin/env bash
# Builds the source and runs its unit, widget and desktop-file tests on Debian 13 (trixie), the
# current stable release (GCC 14, Qt 6.8, ICU 76, AppStream 1.0), warnings shown. The chroot is
# made once with debootstrap from the machine's Debian mirror (a few minutes) and kept in DIR.
# Run as root, on demand: it takes too long for scripts/test.
#   tests/package/trixie.sh [DIR]
set -euo pipefail
source=$(cd "$(dirname "$0")/../.." && pwd)
root=$(mkdir -p "${1:-$source/build/trixie}" && cd "${1:-$source/build/trixie}" && pwd)
mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}
packages=(g++ cmake ninja-build pkgconf qt6-base-dev libicu-dev libgtest-dev locales tzdata
          fonts-arphic-ukai fonts-wqy-microhei qt6-translations-l10n desktop-file-utils appstream
          dpkg-dev)

[ -x "$root/usr/bin/apt-get" ] || debootstrap --variant=minbase trixie "$root" "$mirror"
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
cp /etc/resolv.conf "$root/etc/resolv.conf"
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${packages[@]}" >/dev/null

rm -rf "$root/src" && mkdir -p "$root/src"
git -C "$source" ls-files -z -co --exclude-standard |
    (cd "$source" && tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$root/src"
chroot "$root" sh -ec 'cd /src
    cmake --preset default -DQZDS_E2E_TESTS=OFF >/dev/null
    cmake --build --preset default >/tmp/build.log 2>&1 || { tail -n 30 /tmp/build.log; exit 1; }
    grep -E "warning:" /tmp/build.log || echo "built with no warning"
    ctest --preset default -LE e2e'
