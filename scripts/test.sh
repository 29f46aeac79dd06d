#!/usr/bin/env bash
# The test command: installs what is missing; builds with warnings as errors and runs every test
# (the layer and format checks among them); the Windows agent built with MinGW-w64 and its tests
# under Wine; clang-tidy over the tree; every test again under AddressSanitizer and
# UndefinedBehaviorSanitizer; the fuzz targets for a fixed number of runs.
set -euo pipefail
cd "$(dirname "$0")/.."
stage() {
  local name=$1
  shift
  local start=$SECONDS
  echo "== $name"
  "$@"
  echo "== $name: $((SECONDS - start)) s"
}
ci() { cmake --preset ci && cmake --build --preset ci -j2 && ctest --preset ci -j2; }
windows() {
  scripts/build-windows.sh -DQUILLON_LINUX_BUILD="$PWD/build-ci" &&
    ctest --test-dir build-windows -j2 --output-on-failure
}
asan() { cmake --preset asan && cmake --build --preset asan -j2 && ctest --preset asan -j2; }
fuzz() { cmake --preset fuzz && cmake --build --preset fuzz -j2 && ctest --preset fuzz; }
stage "dependencies" scripts/install-deps.sh
stage "ci build and tests" ci
stage "windows build and tests" windows
stage "clang-tidy" scripts/clang-tidy.sh build-ci
stage "sanitizer build and tests" asan
stage "fuzz build and runs" fuzz
