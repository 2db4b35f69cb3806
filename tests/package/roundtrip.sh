#!/usr/bin/env bash
# The Debian package, the way a user meets it: build it, check what it holds and what it depends
# on, install it, start the installed program and see its window, remove it again.
#   tests/package/roundtrip.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
# The application id and the version, as the build wrote them into the AppStream metadata.
metainfo=$(ls "$build"/data/*.metainfo.xml)
app_id=$(basename "$metainfo" .metainfo.xml)
version=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo")
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -f "$build"/qiuzuidashu_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$build/qiuzuidashu_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package $deb"
echo "ok: built $(basename "$deb")"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/qiuzuidashu \
            "./usr/share/applications/$app_id.desktop" \
            "./usr/share/metainfo/$app_id.metainfo.xml" \
            "./usr/share/icons/hicolor/16x16/apps/$app_id.png" \
            "./usr/share/icons/hicolor/32x32/apps/$app_id.png"; do
    grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
[ "$(grep -c -v '/$' <<<"$contents")" = 5 ] || fail "the package holds more files than expected"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-arphic-ukai libqt6widgets6 libicu; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
echo "ok: the package holds the program, its desktop entry, metainfo and icons"
echo "    Depends: $depends"

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
trap '"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q qiuzuidashu >/dev/null' EXIT
[ -x /usr/bin/qiuzuidashu ] || fail "the installed program is missing"

# The installed program, started as the desktop entry starts it, maps its window.
LANG=C.UTF-8 xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    /usr/bin/qiuzuidashu & pid=$!
    for _ in $(seq 100); do
        if xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; then kill "$pid"; exit 0; fi
        sleep 0.1
    done
    exit 1' || fail "the installed program showed no window"
echo "ok: installed with apt-get; /usr/bin/qiuzuidashu shows its window; removed again"
