#!/usr/bin/env bash
# The test command: installs what is missing, builds with warnings as errors, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset ci
cmake --build --preset ci -j2
ctest --preset ci -j2
# The Windows agent: built with MinGW-w64, its tests and the end-to-end run under Wine.
scripts/build-windows.sh -DQUILLON_LINUX_BUILD="$PWD/build-ci"
ctest --test-dir build-windows -j2 --output-on-failure
