#!/bin/sh
# Builds the Debian packages from a copy of the source tree, so that the
# tree stays clean: kelvaro_*.deb, kelvaro-data_*.deb and the .changes land
# in <out-dir>, which is emptied first.
#   tools/build-deb.sh <out-dir>
set -eu
source=$(cd "$(dirname "$0")/.." && pwd)
out=$1
rm -rf "$out"
mkdir -p "$out/kelvaro"
out=$(cd "$out" && pwd)

# What git tracks or would track (build folders and old packages are
# ignored); a tree without git is copied whole but its build folders.
if git -C "$source" rev-parse --show-toplevel >/dev/null 2>&1; then
    (cd "$source" && git ls-files -z --cached --others --exclude-standard |
        xargs -0 cp --parents -t "$out/kelvaro" 2>/dev/null) || true
    (cd "$source" && git ls-files --deleted | grep -q .) && echo "build-deb: deleted files are left out" >&2
else
    (cd "$source" && tar cf - --exclude='./build*' --exclude='./*.deb' .) | (cd "$out/kelvaro" && tar xf -)
fi
[ -f "$out/kelvaro/debian/control" ] || { echo "build-deb: could not copy the source tree" >&2; exit 1; }

# The suite runs in make test (it needs an X server); no debug symbol package.
jobs=$(nproc 2>/dev/null || echo 2)
cd "$out/kelvaro"
DEB_BUILD_OPTIONS="nocheck noddebs parallel=$jobs ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -us -uc -b
ls "$out"/*.deb
