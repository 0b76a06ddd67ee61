#!/bin/sh
# Regenerates every asset into a scratch folder and compares it byte for
# byte with the committed tree. Fails when a file differs, is missing, or
# when the committed tree holds a file the generator no longer writes.
#
#   check_reproducible.sh [generator [assets-folder]]
#
# Without a generator it builds one first (needs libstb-dev,
# libmp3lame-dev and fonts-dejavu-core).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
generator=${1:-}
assets=${2:-$here/../../assets}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if [ -z "$generator" ]; then
  cmake -S "$here" -B "$scratch/build" >/dev/null
  cmake --build "$scratch/build" >/dev/null
  generator=$scratch/build/kelvaro-assetgen
fi

"$generator" "$scratch/out" >/dev/null
status=0
for tree in Graphic_Assets Audio_Assets Icons; do
  if ! diff -r "$scratch/out/$tree" "$assets/$tree"; then
    status=1
  fi
done
if [ "$status" -ne 0 ]; then
  echo "assets differ from what kelvaro-assetgen writes: run 'make assets' and commit" >&2
  exit 1
fi
echo "assets reproduce byte for byte"
