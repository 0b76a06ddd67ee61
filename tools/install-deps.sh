#!/bin/sh
# Installs the Debian packages a target needs when any is missing.
#   tools/install-deps.sh run|test|deb|assets|shots|fuzz
# Uses sudo when not root. Does nothing when everything is present.
set -eu

RUN="cmake make g++ pkg-config libsdl2-dev libsdl2-mixer-dev libglew-dev libglu1-mesa-dev libgl-dev libgl1-mesa-dri"
# The Debian packages' build (debian/control's Build-Depends) and their
# metadata check; make test builds and checks the packages too, and xprop
# (x11-utils) reads the game's window.
PACKAGE="$RUN build-essential debhelper dpkg-dev appstream"
TEST="$PACKAGE libgtest-dev xvfb xauth desktop-file-utils x11-utils"
DEB="$PACKAGE lintian"
ASSETS="$RUN libstb-dev fonts-dejavu-core libmp3lame-dev"
SHOTS="$TEST imagemagick"
# libFuzzer and the sanitizer runtimes come with clang's compiler-rt.
FUZZ="$RUN clang libclang-rt-dev"

case "${1:-run}" in
    run) wanted=$RUN ;;
    test) wanted=$TEST ;;
    deb) wanted=$DEB ;;
    assets) wanted=$ASSETS ;;
    shots) wanted=$SHOTS ;;
    fuzz) wanted=$FUZZ ;;
    *) echo "usage: $0 run|test|deb|assets|shots|fuzz" >&2; exit 2 ;;
esac

missing=""
for package in $wanted; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "These packages are missing and there is no sudo to install them:$missing" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
