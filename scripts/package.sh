#!/usr/bin/env bash
# Builds the Debian packages (libecfbmtc1, libecfbmtc-dev, ecfbmtc-tools) from
# the committed tree, for this machine's architecture or the one given:
#   bash scripts/package.sh [amd64|i386]
# The packages land in build/packages/ARCH/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
arch=${1:-$(dpkg --print-architecture)}
bash scripts/deps.sh package
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
  bash scripts/deps.sh "package-$arch"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ecfpkg.XXXXXX")
trap 'rm -rf "$work"' EXIT
version=$(dpkg-parsechangelog -l debian/changelog -S Version | sed 's/-[^-]*$//')
src=$work/ecfbmtc-$version
mkdir -p "$src"
git archive HEAD | tar -x -C "$src"
(cd "$src" && dpkg-buildpackage -b -us -uc -a"$arch" -j2)
out=$root/build/packages/$arch
mkdir -p "$out"
cp "$work"/*.deb "$out"/
ls -1 "$out"
