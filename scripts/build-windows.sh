#!/usr/bin/env bash
# Builds the Windows agent and its tests with MinGW-w64, and its installer quillon-agent-setup.exe
# with NSIS, in build-windows/; installs the Debian packages that needs (only the missing ones).
# Tests run under Wine:
#   ctest --test-dir build-windows
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh cmake ninja-build g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest \
  nlohmann-json3-dev wine wine64 nsis xvfb xauth
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUILLON_WERROR=ON "$@"
cmake --build build-windows -j2
# The per-user installer beside the program.
makensis -V2 -DAGENT_EXE="$PWD/build-windows/src/app/quillon-agent.exe" \
  -DOUTFILE="$PWD/build-windows/quillon-agent-setup.exe" installer/quillon-agent.nsi
