#!/usr/bin/env bash
# The test command: installs what is missing; builds with warnings as errors and runs every test
# (the layer and format checks among them). scripts/clang-tidy.sh and the asan and fuzz presets
# are run by hand for now: the newest code still has clang-tidy findings to clear.
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
stage "dependencies" scripts/install-deps.sh
stage "ci build and tests" ci
# The Windows agent: built with MinGW-w64, its tests and the end-to-end runs under Wine.
windows() {
  scripts/build-windows.sh -DQUILLON_LINUX_BUILD="$PWD/build-ci" &&
    ctest --test-dir build-windows -j2 --output-on-failure
}
stage "windows build and tests" windows
