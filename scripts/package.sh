#!/usr/bin/env bash
# Builds the Debian package of Vorn Basic in build-deb/ and checks it with lintian.
#   scripts/package.sh    the .deb lands in build-deb/, lintian's report on stdout
# Built with Debian's hardening flags (dpkg-buildflags), in Release mode, stripped.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
dir=build-deb
eval "$(dpkg-buildflags --export=sh)"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$dir" -j2 --target vornbasic vornbasic_docs
(cd "$dir" && rm -f vornbasic_*.deb && cpack -G DEB)
deb=$(ls "$dir"/vornbasic_*.deb)
echo "Package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
# Errors fail the script; warnings and notes are shown.
lintian --fail-on error --display-info "$deb"
echo "lintian: no errors"
