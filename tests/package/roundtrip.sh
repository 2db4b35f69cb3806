#!/usr/bin/env bash
# The Debian package the way the archive and a user meet it: the upstream tarball and the source
# package with its tests run at build time, judged by lintian and hardening-check; built once more
# in another folder with every file's time changed and without the tests (the same bytes must
# come out); its metadata under a binNMU; composed for a software centre; installed, tested as
# installed with autopkgtest, and removed again.
#   tests/package/roundtrip.sh WORK_DIR
set -euo pipefail
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mkdir -p "${1:?usage: $0 WORK_DIR}" && cd "$1" && pwd)
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
fail() { echo "FAIL: $*" >&2; exit 1; }

# copy_source DIR: the upstream tarball in DIR, unpacked there as DIR/qiuzuidashu with debian/
# beside it: the source tree as git sees it (committed or not, nothing ignored).
copy_source() {
    rm -rf "$1" && mkdir -p "$1"
    tar -xJf "$("$source/scripts/orig-tarball" "$1")" -C "$1"
    mv "$1"/qiuzuidashu-* "$1/qiuzuidashu"
    git -C "$source" ls-files -z -co --exclude-standard -- debian |
        (cd "$source" && tar --null --ignore-failed-read -T - -cf - 2>/dev/null) |
        tar -xf - -C "$1/qiuzuidashu"
}
# build DIR BUILD_OPTIONS DPKG_BUILDPACKAGE_OPTIONS...: the packages land in DIR.
build() {
    local dir=$1 options=$2
    shift 2
    (cd "$dir/qiuzuidashu" && DEB_BUILD_OPTIONS="parallel=$(nproc) $options" \
        dpkg-buildpackage -us -uc "$@" >"$dir/build.log" 2>&1) ||
        { tail -n 30 "$dir/build.log"; fail "dpkg-buildpackage failed"; }
}

copy_source "$work/a"
build "$work/a" ""
version=$(dpkg-parsechangelog -l "$work/a/qiuzuidashu/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
deb="$work/a/qiuzuidashu_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no package $deb"
[ -f "$work/a/qiuzuidashu-dbgsym_${version}_${arch}.deb" ] || fail "no debug symbols package"
[ -f "$work/a/qiuzuidashu_${version}.dsc" ] || fail "no source package"
grep -q '^100% tests passed' "$work/a/build.log" || fail "no tests ran at build time"
echo "ok: dpkg-buildpackage built the source, binary and dbgsym packages; the tests ran and passed"

# Every tag counts but two: the bug that announces a new package (ITP), which only the archive's
# process can answer and nobody has filed yet; and the policy version, Debian 13's, which Debian
# 12's lintian does not know yet. And AppStream 1.0 (Debian 13) warns that the program has no
# homepage, as appstream-metadata-validation-failed: allowed where appstreamcli says of the
# installed tree that and nothing else. It cannot be a package override, as those of the source
# package are: Debian 12's lintian does not know the tag, and refuses an override of it.
mkdir -p "$work/tree" && dpkg-deb -x "$deb" "$work/tree"
allowed=initial-upload-closes-no-bugs,newer-standards-version
# Tags of a newer lintian (Debian testing's) for what Debian 12 still needs. From dpkg 1.22.13
# on, Rules-Requires-Root: no and Priority: optional are the defaults and lintian calls the fields
# redundant; Debian 12's dpkg still needs them. These are allowed where lintian knows them: Debian
# 13's, with dpkg 1.22.22, does not, and refuses to suppress a tag it does not know. From debhelper
# 14 on, lintian calls compat 13 old; Debian 12's and 13's debhelper have 14 only in beta.
for tag in redundant-rules-requires-root-no-field redundant-priority-optional-field; do
    if lintian-explain-tags "$tag" >/dev/null 2>&1; then
        allowed+=,$tag
    fi
done
if dpkg --compare-versions "$(dpkg-query -W -f='${Version}' debhelper)" ge 14; then
    allowed+=,package-uses-old-debhelper-compat-version
fi
appstream=$(appstreamcli validate-tree --no-net --no-color "$work/tree" 2>&1 | grep -E '^[[:space:]]*[EW]:' || true)
if [ -n "$appstream" ] && ! grep -qv ': url-homepage-missing' <<<"$appstream"; then
    allowed+=,appstream-metadata-validation-failed
fi
lintian -EviIL +pedantic --fail-on error,warning,info,pedantic --suppress-tags "$allowed" \
    "$work/a/qiuzuidashu_${version}_${arch}.changes" >"$work/lintian.log" 2>&1 ||
    { grep -v 'root privileges' "$work/lintian.log"; fail "lintian found tags"; }
echo "ok: lintian -EviIL +pedantic finds nothing in the source and binary packages"

# Another architecture: the arm64 compiler takes every flag that debian/rules passes there, and
# the project's hardened preset builds the rules' libraries with it (static libraries: nothing is
# linked, so the machine's own ICU libraries only have to be named).
flags=$(cd "$work/a/qiuzuidashu" && dpkg-architecture -aarm64 -c make -s -f debian/rules \
    -f <(printf 'flags:\n\t@echo $$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)\n') \
    flags 2>/dev/null)
# shellcheck disable=SC2086
echo 'int main() {}' | aarch64-linux-gnu-g++ $flags -Werror -x c++ -c -o /dev/null - ||
    fail "aarch64-linux-gnu-g++ refuses the flags of debian/rules: $flags"
icu=/usr/lib/$(dpkg-architecture -q DEB_HOST_MULTIARCH)
rm -rf "$work/arm64"
cmake --preset default -S "$source" -B "$work/arm64" -DCMAKE_CXX_COMPILER=aarch64-linux-gnu-g++ \
    -DQZDS_BUILD_UI=OFF -DBUILD_TESTING=OFF -DICU_UC_LIBRARY_RELEASE="$icu/libicuuc.so" \
    -DICU_I18N_LIBRARY_RELEASE="$icu/libicui18n.so" >"$work/arm64.log" 2>&1 &&
    cmake --build "$work/arm64" --target platform logic >>"$work/arm64.log" 2>&1 ||
    { tail -n 20 "$work/arm64.log"; fail "the hardened preset with aarch64-linux-gnu-g++"; }
echo "ok: arm64: aarch64-linux-gnu-g++ takes $flags and builds the rules with the hardened preset"

app_id=$(sed -n 's/^set(QZDS_APP_ID "\(.*\)")$/\1/p' "$source/CMakeLists.txt")
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}' | grep -v '/$')
expected="./usr/bin/qiuzuidashu
./usr/share/applications/$app_id.desktop
./usr/share/doc/qiuzuidashu/changelog.Debian.gz
./usr/share/doc/qiuzuidashu/copyright
$(for size in 16 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"; done)
./usr/share/icons/hicolor/scalable/apps/$app_id.svg
./usr/share/man/man1/qiuzuidashu.1.gz
./usr/share/metainfo/$app_id.metainfo.xml"
[ "$(sort <<<"$contents")" = "$(sort <<<"$expected")" ] ||
    fail "the package holds: $contents"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-arphic-ukai qt6-translations-l10n libqt6gui6 libqt6widgets6 libicu; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
echo "ok: the package holds the program, its desktop files, icons, manual page and documents; Depends: $depends"

# Hardened: every check yes, but those the machine decides. Fortify protects the calls whose
# buffer sizes the compiler knows; in this program there are none, only memcpy, memmove and
# memset of sizes known at run time. Control-flow protection needs every object linked in to
# carry it, and the C library's start files do not on Debian 12 and 13: where they do, it is
# required. Branch protection is arm64's, which Debian 13's hardening-check asks of every
# architecture.
hardening=$(hardening-check -v "$work/tree/usr/bin/qiuzuidashu" || true)
echo "$hardening" | sed 's/^/    /'
unchecked=(--nofortify)
grep -q 'x86 feature:.*IBT' <<<"$(readelf -n "$(g++ -print-file-name=Scrt1.o)")" ||
    unchecked+=(--nocfprotection)
if [ "$arch" != arm64 ] && grep -q -- --nobranchprotection <<<"$(hardening-check --help)"; then
    unchecked+=(--nobranchprotection)
fi
hardening-check "${unchecked[@]}" "$work/tree/usr/bin/qiuzuidashu" >/dev/null ||
    fail "hardening-check ${unchecked[*]}"
if ! grep -q 'Fortify Source functions: yes' <<<"$hardening"; then
    others=$(sed -n 's/^[[:space:]]*unprotected: //p' <<<"$hardening" |
        grep -vxE 'memcpy|memmove|memset' || true)
    [ -z "$others" ] || fail "Fortify could protect, but does not: $others"
fi
echo "ok: hardening-check ${unchecked[*]}: PIE, stack protector, RELRO, BIND_NOW; Fortify where applicable"

# The software centre's view of the installed files: a component with its icon.
appstreamcli compose --no-color --prefix=/usr --origin=qiuzuidashu --result-root="$work/swcatalog" \
    "$work/tree" >"$work/compose.log" 2>&1 || { cat "$work/compose.log"; fail "appstreamcli compose"; }
catalog=$(zcat "$work/swcatalog/usr/share/swcatalog/xml/qiuzuidashu.xml.gz")
grep -q "<id>$app_id</id>" <<<"$catalog" || { cat "$work/compose.log"; fail "no component"; }
grep -q '<icon type="cached" width="128"' <<<"$catalog" || fail "no 128 px icon in the catalog"
echo "ok: appstreamcli compose gives the component with its icons"

# The same source elsewhere, every file with a later time (as a later clone has), built without
# the tests and their build dependencies: the same bytes.
copy_source "$work/b"
sleep 1 && find "$work/b/qiuzuidashu" -exec touch {} +
build "$work/b" nocheck -b -Pnocheck
! grep -q 'tests passed' "$work/b/build.log" || fail "the tests ran under nocheck"
for package in qiuzuidashu qiuzuidashu-dbgsym; do
    cmp "$work/a/${package}_${version}_${arch}.deb" "$work/b/${package}_${version}_${arch}.deb" ||
        fail "$package differs between the two builds"
done
echo "ok: a second build elsewhere, from files with other times, with nocheck: the same bytes"

# A binNMU, or any Debian revision, leaves the release's version and date in the metadata.
copy_source "$work/binnmu"
changelog="$work/binnmu/qiuzuidashu/debian/changelog"
{
    printf 'qiuzuidashu (%s+b1) unstable; urgency=low, binary-only=yes\n\n' "$version"
    printf '  * Binary-only non-maintainer upload; no source changes.\n\n'
    printf ' -- Buildd <buildd@example.invalid>  Fri, 01 Jan 2027 00:00:00 +0000\n\n'
    cat "$changelog"
} >"$changelog.new" && mv "$changelog.new" "$changelog"
cmake -S "$work/binnmu/qiuzuidashu" -B "$work/binnmu/build" -G Ninja -DBUILD_TESTING=OFF \
    >"$work/binnmu/cmake.log" 2>&1 || { cat "$work/binnmu/cmake.log"; fail "cmake under a binNMU"; }
cmp "$work/tree/usr/share/metainfo/$app_id.metainfo.xml" \
    "$work/binnmu/build/data/$app_id.metainfo.xml" || fail "a binNMU changes the metadata"
echo "ok: under the binNMU $version+b1 the metadata names the release as before"

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
trap '"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q qiuzuidashu >/dev/null' EXIT
[ -x /usr/bin/qiuzuidashu ] || fail "the installed program is missing"
man -w qiuzuidashu >/dev/null || fail "man -w finds no manual page"
echo "ok: installed with apt-get; man -w finds its page"

# What Debian's CI runs: the tests of the installed package, from the source package.
autopkgtest "$deb" "$work/a/qiuzuidashu_${version}.dsc" -- null >"$work/autopkgtest.log" 2>&1 ||
    { tail -n 30 "$work/autopkgtest.log"; fail "autopkgtest"; }
grep -q '^window *PASS' "$work/autopkgtest.log" || { cat "$work/autopkgtest.log"; fail "autopkgtest"; }
echo "ok: autopkgtest -- null: the installed window maps, answers 5, 9, 2 with Max =9, and 退出 ends it"
