#!/bin/sh
# The install tree: install into a fresh prefix, check that everything a
# desktop needs is there, then start the installed game from another folder
# with no display and let it run through the logos into the main menu.
# Usage: install_check.sh <build-dir> <source-dir>
set -u
build=$1
source=$2
work=$(mktemp -d /tmp/kelvaro-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "install_check: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"

[ -x "$prefix/bin/kelvaro" ] || fail "no bin/kelvaro"
for f in share/applications/org.kelvaro.Kelvaro.desktop share/metainfo/org.kelvaro.Kelvaro.metainfo.xml \
         share/man/man6/kelvaro.6 share/icons/hicolor/64x64/apps/org.kelvaro.Kelvaro.png \
         share/icons/hicolor/128x128/apps/org.kelvaro.Kelvaro.png \
         share/icons/hicolor/256x256/apps/org.kelvaro.Kelvaro.png; do
    [ -f "$prefix/$f" ] || fail "missing $f"
done
# Every picture and sound of the tree, byte for byte.
(cd "$source/assets" && find Graphic_Assets Audio_Assets -type f) | while read -r f; do
    cmp -s "$source/assets/$f" "$prefix/share/kelvaro/$f" || { echo "install_check: $f differs or is missing" >&2; exit 1; }
done || exit 1
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/org.kelvaro.Kelvaro.desktop" || fail "desktop entry invalid"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/org.kelvaro.Kelvaro.metainfo.xml" >/dev/null ||
        fail "metainfo invalid"
fi

# The installed game, started elsewhere: no display (SDL's offscreen driver,
# asked for by name), a fresh data folder, windowed. A missing asset would end it at once with
# the loader's message; still running after the logos means it found them.
mkdir -p "$work/home/kelvaro/Data"
printf '001' > "$work/home/kelvaro/Data/Option.txt"
cd / && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen XDG_DATA_HOME="$work/home" \
    timeout 9 "$prefix/bin/kelvaro" 2>"$work/stderr"
status=$?
[ $status -eq 124 ] || { cat "$work/stderr" >&2; fail "the installed game ended with status $status"; }
if grep -q "could not be opened\|ASSERT" "$work/stderr"; then
    cat "$work/stderr" >&2
    fail "the installed game reported a problem"
fi
echo "install_check: installed tree complete; the game ran from / for 9 s"
