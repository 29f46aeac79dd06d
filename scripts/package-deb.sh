#!/usr/bin/env bash
# Makes the Debian package of quillon-agent: BUILD/packages/quillon-agent_VERSION_ARCH.deb.
#   scripts/package-deb.sh          a release build in build-deb
#   scripts/package-deb.sh BUILD    an existing build folder (the tests use theirs)
# The package installs under /usr, so the build folder is set for that prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
  scripts/install-deps.sh
  build=build-deb
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLON_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr
else
  build=$1
  cmake -S . -B "$build" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi
cmake --build "$build" -j2
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$PWD/packages" >/dev/null)
ls "$build"/packages/*.deb
