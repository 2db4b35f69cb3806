#!/usr/bin/env bash
# The Debian package the way the archive and a user meet it: built by dpkg-buildpackage from a
# copy of the source tree, judged by lintian and hardening-check, built once more from a copy in
# another folder with every file's time changed (the same bytes must come out), composed for a
# software centre, installed, started, and removed again.
#   tests/package/roundtrip.sh WORK_DIR
set -euo pipefail
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mkdir -p "${1:?usage: $0 WORK_DIR}" && cd "$1" && pwd)
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
fail() { echo "FAIL: $*" >&2; exit 1; }

# copy_source DIR: the source tree as git sees it (committed or not, nothing ignored) in DIR.
copy_source() {
    rm -rf "$1" && mkdir -p "$1/qiuzuidashu"
    git -C "$source" ls-files -z -co --exclude-standard |
        (cd "$source" && tar --null --ignore-failed-read -T - -cf - 2>/dev/null) |
        tar -xf - -C "$1/qiuzuidashu"
}
# build DIR: dpkg-buildpackage in the copy there; the packages land in DIR.
build() {
    (cd "$1/qiuzuidashu" && DEB_BUILD_OPTIONS=parallel=$(nproc) dpkg-buildpackage -us -uc -b \
        >"$1/build.log" 2>&1) || { tail -n 30 "$1/build.log"; fail "dpkg-buildpackage failed"; }
}

copy_source "$work/a"
build "$work/a"
version=$(dpkg-parsechangelog -l "$work/a/qiuzuidashu/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
deb="$work/a/qiuzuidashu_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no package $deb"
[ -f "$work/a/qiuzuidashu-dbgsym_${version}_${arch}.deb" ] || fail "no debug symbols package"
echo "ok: dpkg-buildpackage built $(basename "$deb") and its dbgsym package"

lintian -EviIL +pedantic --fail-on error,warning,info,pedantic \
    "$work/a/qiuzuidashu_${version}_${arch}.changes" >"$work/lintian.log" 2>&1 ||
    { grep -v 'root privileges' "$work/lintian.log"; fail "lintian found tags"; }
echo "ok: lintian -EviIL +pedantic finds nothing"

app_id=$(sed -n 's/^set(QZDS_APP_ID "\(.*\)")$/\1/p' "$source/CMakeLists.txt")
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}' | grep -v '/$')
expected="./usr/bin/qiuzuidashu
./usr/share/applications/$app_id.desktop
./usr/share/doc/qiuzuidashu/changelog.gz
./usr/share/doc/qiuzuidashu/copyright
$(for size in 16 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"; done)
./usr/share/icons/hicolor/scalable/apps/$app_id.svg
./usr/share/man/man1/qiuzuidashu.1.gz
./usr/share/metainfo/$app_id.metainfo.xml"
[ "$(sort <<<"$contents")" = "$(sort <<<"$expected")" ] ||
    fail "the package holds: $contents"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-arphic-ukai qt6-qpa-plugins qt6-translations-l10n libqt6widgets6 libicu; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
echo "ok: the package holds the program, its desktop files, icons, manual page and documents"
echo "    Depends: $depends"

# Hardened: every check yes, but two that the machine decides. Fortify protects the calls whose
# buffer sizes the compiler knows; in this program there are none, only memcpy, memmove and
# memset of sizes known at run time. Control-flow protection needs every object linked in to
# carry it, and Debian 12's C library start files do not.
mkdir -p "$work/tree" && dpkg-deb -x "$deb" "$work/tree"
hardening=$(hardening-check -v "$work/tree/usr/bin/qiuzuidashu" || true)
echo "$hardening" | sed 's/^/    /'
hardening-check --nofortify --nocfprotection "$work/tree/usr/bin/qiuzuidashu" >/dev/null ||
    fail "hardening-check"
if ! grep -q 'Fortify Source functions: yes' <<<"$hardening"; then
    others=$(sed -n 's/^[[:space:]]*unprotected: //p' <<<"$hardening" |
        grep -vxE 'memcpy|memmove|memset' || true)
    [ -z "$others" ] || fail "Fortify could protect, but does not: $others"
fi
echo "ok: hardening-check: PIE, stack protector, RELRO, BIND_NOW; Fortify where applicable"

# The software centre's view of the installed files: a component with its icon.
appstreamcli compose --no-color --prefix=/usr --origin=qiuzuidashu --result-root="$work/swcatalog" \
    "$work/tree" >"$work/compose.log" 2>&1 || { cat "$work/compose.log"; fail "appstreamcli compose"; }
catalog=$(zcat "$work/swcatalog/usr/share/swcatalog/xml/qiuzuidashu.xml.gz")
grep -q "<id>$app_id</id>" <<<"$catalog" || { cat "$work/compose.log"; fail "no component"; }
grep -q '<icon type="cached" width="128"' <<<"$catalog" || fail "no 128 px icon in the catalog"
echo "ok: appstreamcli compose gives the component with its icons"

# The same source elsewhere, every file with a later time (as a later clone has): the same bytes.
copy_source "$work/b"
sleep 1 && find "$work/b/qiuzuidashu" -exec touch {} +
build "$work/b"
for package in qiuzuidashu qiuzuidashu-dbgsym; do
    cmp "$work/a/${package}_${version}_${arch}.deb" "$work/b/${package}_${version}_${arch}.deb" ||
        fail "$package differs between two builds"
done
echo "ok: a second build in another folder, from files with other times, is byte for byte the same"

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
trap '"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q qiuzuidashu >/dev/null' EXIT
[ -x /usr/bin/qiuzuidashu ] || fail "the installed program is missing"
man -w qiuzuidashu >/dev/null || fail "man -w finds no manual page"

# The installed program, started as the desktop entry starts it, maps its window.
LANG=C.UTF-8 xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    /usr/bin/qiuzuidashu & pid=$!
    for _ in $(seq 100); do
        if xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; then kill "$pid"; exit 0; fi
        sleep 0.1
    done
    exit 1' || fail "the installed program showed no window"
echo "ok: installed with apt-get; man -w finds its page; /usr/bin/qiuzuidashu shows its window"
