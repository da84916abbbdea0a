#!/usr/bin/env bash
# Builds the Debian package of Vorn Basic in build-deb/ and checks it with lintian.
#   scripts/package.sh    the .deb lands in build-deb/, lintian's report on stdout
# Built with Debian's hardening flags (dpkg-buildflags), in Release mode, stripped.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
dir=build-deb
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake reads CXXFLAGS and LDFLAGS only; the preprocessor's (fortify) go along.
export CXXFLAGS="$CXXFLAGS $CPPFLAGS"
# The package needs the interpreter and its pages, not the tests: cpack builds
# nothing more than the targets built here.
rm -f "$dir/CMakeCache.txt"   # the flags above are read on the first configure only
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
cmake --build "$dir" -j2 --target vornbasic vornbasic_docs
(cd "$dir" && rm -f vornbasic_*.deb && cpack -G DEB)
deb=$(ls "$dir"/vornbasic_*.deb)
echo "Package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
# Errors fail the script; warnings and notes are shown.
lintian --fail-on error --display-info "$deb"
echo "lintian: no errors"
