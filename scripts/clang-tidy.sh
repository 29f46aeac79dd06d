#!/usr/bin/env bash
# Runs clang-tidy (Debian's clang-tidy 14, the checks of .clang-tidy) on every source of the tree
# that the build compiles, in parallel; any finding fails. Sources found clean before and not
# changed since (with everything they include) are not checked again: see
# scripts/clang_tidy_run.py. Needs a built build folder with compile_commands.json: by default
# build-asan, as the test command leaves it. JOBS (default 2) files at a time. Sources named after
# the build folder are the only ones checked:
#   scripts/clang-tidy.sh build-ci src/json/parser.cpp
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-asan}
shift $(( $# > 0 ? 1 : 0 ))
jobs=${JOBS:-2}
command -v clang-tidy-14 >/dev/null || { echo "clang-tidy-14 is missing (scripts/install-deps.sh)"; exit 2; }
[ -f "$build/compile_commands.json" ] || { echo "$build/compile_commands.json is missing"; exit 2; }
cache=${QUILLON_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quillon-agent}/clang-tidy
exec python3 scripts/clang_tidy_run.py "$build" "$jobs" "$cache" "$@"
