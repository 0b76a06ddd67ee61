#!/bin/sh
# The Debian packages: built from a copy of the tree into a scratch folder,
# inspected with dpkg-deb, unpacked into a scratch root and checked there as
# an installed tree, the unpacked game started (install_check.sh --root).
# Exits 77 (skipped) where the packaging tools or build dependencies are missing.
# Usage: package_check.sh <source-dir>
set -u
source=$1
skip() { echo "package_check: skipped: $*"; exit 77; }
fail() { echo "package_check: $*" >&2; exit 1; }
for tool in dpkg-buildpackage dh dpkg-deb appstreamcli; do
    command -v $tool >/dev/null || skip "no $tool (make test installs it)"
done
(cd "$source" && dpkg-checkbuilddeps 2>&1) || skip "build dependencies missing (make test installs them)"
work=$(mktemp -d /tmp/kelvaro-deb-XXXXXX)
trap 'rm -rf "$work"' EXIT

sh "$source/tools/build-deb.sh" "$work/out" >"$work/build.log" 2>&1 || { tail -40 "$work/build.log" >&2; fail "build failed"; }
bin=$(echo "$work"/out/kelvaro_*.deb) data=$(echo "$work"/out/kelvaro-data_*.deb)
[ -f "$bin" ] && [ -f "$data" ] || fail "expected kelvaro and kelvaro-data, got: $(ls "$work/out")"

# The program and what a desktop reads in kelvaro; the pictures and sounds,
# which the game looks for beside /usr/games, in kelvaro-data alone.
dpkg-deb -c "$bin" | awk '{print $6}' >"$work/bin.list"
dpkg-deb -c "$data" | awk '{print $6}' >"$work/data.list"
for f in ./usr/games/kelvaro ./usr/share/applications/org.kelvaro.Kelvaro.desktop ./usr/share/doc/kelvaro/copyright \
         ./usr/share/metainfo/org.kelvaro.Kelvaro.metainfo.xml ./usr/share/man/man6/kelvaro.6.gz; do
    grep -qx "$f" "$work/bin.list" || fail "kelvaro lacks $f"
done
! grep -q '^\./usr/share/kelvaro/.' "$work/bin.list" || fail "kelvaro holds game data"
grep -q '^\./usr/share/kelvaro/Graphic_Assets/.' "$work/data.list" || fail "kelvaro-data holds no pictures"
stray=$(grep -v -e '/$' -e '^\./usr/share/kelvaro/' -e '^\./usr/share/doc/kelvaro-data/' "$work/data.list")
[ -z "$stray" ] || fail "kelvaro-data holds $stray"
[ "$(dpkg-deb -f "$data" Architecture)" = all ] || fail "kelvaro-data is not Architecture: all"
depends=$(dpkg-deb -f "$bin" Depends)
case $depends in *"kelvaro-data (= $(dpkg-deb -f "$data" Version))"*) ;; *) fail "kelvaro does not depend on its data: $depends" ;; esac
case $depends in *libsdl2-2.0-0*libsdl2-mixer*|*libsdl2-mixer*libsdl2-2.0-0*) ;; *) fail "no library dependencies: $depends" ;; esac
# The man page is ours, compressed, and man-db finds its one-line summary.
dpkg-deb --fsys-tarfile "$bin" | tar xOf - ./usr/share/man/man6/kelvaro.6.gz | gzip -dc | cmp -s - "$source/packaging/kelvaro.6" ||
    fail "the packaged man page differs from packaging/kelvaro.6"

mkdir "$work/root"
dpkg-deb -x "$bin" "$work/root" && dpkg-deb -x "$data" "$work/root" || fail "could not unpack"
if command -v lexgrog >/dev/null; then
    lexgrog "$work/root/usr/share/man/man6/kelvaro.6.gz" >/dev/null || fail "man page has no whatis entry"
fi
sh "$source/tests/install_check.sh" --root "$work/root" "$source" || fail "the unpacked packages failed the install check"
echo "package_check: kelvaro $(stat -c %s "$bin") bytes, kelvaro-data $(stat -c %s "$data") bytes; unpacked, they ran"
