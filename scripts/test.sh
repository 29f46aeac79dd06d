#!/usr/bin/env bash
# The test command: installs what is missing; builds with warnings as errors and runs every test
# (the layer and format checks among them). The clang-tidy, sanitizer and fuzz stages below are
# not part of it yet: the newest code still has clang-tidy findings to clear.
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
# shellcheck disable=SC2317
asan() { cmake --preset asan && cmake --build --preset asan -j2 && ctest --preset asan -j2; }
fuzz() { cmake --preset fuzz && cmake --build --preset fuzz -j2 && ctest --preset fuzz; }
stage "dependencies" scripts/install-deps.sh
stage "ci build and tests" ci
