#!/usr/bin/env bash
# The test command: installs what is missing, builds with warnings as errors, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset ci
cmake --build --preset ci -j2
ctest --preset ci -j2
