#!/bin/sh
# The install tree: install into a fresh prefix (or take a root a package
# was unpacked into), check that everything a desktop needs is there, then
# start the installed game from another folder with a fresh data folder and
# let it run through the logos into the main menu.
# Usage: install_check.sh <build-dir> <source-dir>
#        install_check.sh --root <unpacked-root> <source-dir>   (binary in /usr/games)
set -u
work=$(mktemp -d /tmp/kelvaro-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "install_check: $*" >&2; exit 1; }

if [ "$1" = "--root" ]; then
    prefix=$2/usr
    binary=$prefix/games/kelvaro
    source=$3
else
    source=$2
    prefix=$work/prefix
    binary=$prefix/bin/kelvaro
    cmake --install "$1" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
fi
desktop=$prefix/share/applications/org.kelvaro.Kelvaro.desktop

[ -x "$binary" ] || fail "no $binary"
[ -f "$prefix/share/man/man6/kelvaro.6" ] || [ -f "$prefix/share/man/man6/kelvaro.6.gz" ] || fail "no man page"
for f in "$desktop" "$prefix/share/metainfo/org.kelvaro.Kelvaro.metainfo.xml"; do
    [ -f "$f" ] || fail "missing $f"
done
for size in 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/org.kelvaro.Kelvaro.png
    [ -f "$icon" ] || fail "missing $icon"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    [ "$(od -An -tu4 --endian=big -j16 -N8 "$icon" | tr -s ' ')" = " $size $size" ] || fail "$icon is not ${size}x$size"
done
# Every picture and sound of the tree, byte for byte.
(cd "$source/assets" && find Graphic_Assets Audio_Assets -type f) | while read -r f; do
    cmp -s "$source/assets/$f" "$prefix/share/kelvaro/$f" || { echo "install_check: $f differs or is missing" >&2; exit 1; }
done || exit 1
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop entry invalid"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/org.kelvaro.Kelvaro.metainfo.xml" >/dev/null ||
        fail "metainfo invalid"
fi

# The installed game, started elsewhere, windowed, on the display when there
# is one (else SDL's offscreen driver). A missing asset would end it at once
# with the loader's message; still running after the logos means it found them.
# Without a display the game would refuse to start: the offscreen driver is
# asked for by name.
[ -n "${DISPLAY:-}" ] || export SDL_VIDEODRIVER=offscreen
mkdir -p "$work/home/kelvaro/Data"
printf '001' > "$work/home/kelvaro/Data/Option.txt"
(cd / && XDG_DATA_HOME="$work/home" timeout 9 sh -c 'echo $$ >"$1"; exec "$2"' sh "$work/pid" "$binary" \
    2>"$work/stderr") &
runner=$!
# Docks group the window with its desktop entry by class and show its icon.
windowed=""
if [ -n "${DISPLAY:-}" ] && command -v xprop >/dev/null; then
    windowed=1 window=""
    for _ in $(seq 40); do
        sleep 0.2
        pid=$(cat "$work/pid" 2>/dev/null)
        for id in $(xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
            [ "$(xprop -id "$id" -notype _NET_WM_PID 2>/dev/null)" = "_NET_WM_PID = $pid" ] && window=$id
        done
        [ -n "$window" ] && break
    done
    wmclass=$(xprop -id "$window" -notype WM_CLASS 2>/dev/null | sed -n 's/^WM_CLASS = ".*", "\(.*\)"$/\1/p')
    icon=$(xprop -id "$window" -notype _NET_WM_ICON 2>/dev/null | head -1)
fi
wait $runner
status=$?
[ $status -eq 124 ] || { cat "$work/stderr" >&2; fail "the installed game ended with status $status"; }
if grep -q "could not be opened\|ASSERT" "$work/stderr"; then
    cat "$work/stderr" >&2
    fail "the installed game reported a problem"
fi
if [ -n "$windowed" ]; then
    [ -n "$window" ] || fail "the installed game showed no window"
    entryclass=$(sed -n 's/^StartupWMClass=//p' "$desktop")
    [ -n "$wmclass" ] && [ "$wmclass" = "$entryclass" ] ||
        fail "window class '$wmclass', desktop entry's StartupWMClass '$entryclass'"
    case $icon in *"Icon (64 x 64)"*) ;; *) fail "the window has no 64x64 icon: $icon" ;; esac
fi
echo "install_check: installed tree complete; the game ran from / for 9 s${windowed:+, its window has the entry's class and the icon}"
