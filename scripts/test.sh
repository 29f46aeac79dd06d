#!/usr/bin/env bash
# The test command: installs what is missing; builds with warnings as errors, under
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test (the layer and format
# checks among them); the Windows agent built with MinGW-w64 and its tests under Wine;
# clang-tidy over the tree; the fuzz targets for a fixed number of runs.
#
# The Linux tests run once, on the sanitized build: a plain build's run would only repeat them
# without the checks, and a whole build of the tree is a third of what this command costs.
#
# Two lanes share the machine: the tests, which mostly wait on sockets, timers and Wine, run in
# the background while the next builds and clang-tidy use the processors (at a lower priority,
# so that the tests' timing holds). Compiled objects and clang-tidy's clean files are kept in
# QUILLON_CACHE_DIR (by default ~/.cache/quillon-agent), outside the checkout, so a second run
# rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
total_start=$SECONDS
stage() {
  local name=$1
  shift
  local start=$SECONDS
  echo "== $name"
  local status=0
  "$@" || status=$?
  local line="== $name: $((SECONDS - start)) s$([ $status -eq 0 ] || echo ", FAILED")"
  echo "$line"
  [ -n "${marks:-}" ] && echo "$line" >>"$marks/summary"
  return $status
}

stage "dependencies" scripts/install-deps.sh

cache=${QUILLON_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quillon-agent}
export QUILLON_CACHE_DIR=$cache
export CCACHE_DIR=$cache/ccache CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE=8G
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
marks=$(mktemp -d)
trap 'rm -rf "$marks"' EXIT

low() { nice -n 10 "$@"; }
linux_build() { cmake --preset asan "${launcher[@]}" && cmake --build --preset asan -j2; }
windows_build() {
  low scripts/build-windows.sh -DQUILLON_LINUX_BUILD="$PWD/build-asan" "${launcher[@]}"
}
# Only the fuzz targets: the rest of that tree would be a fourth build of the program.
fuzz() {
  cmake --preset fuzz "${launcher[@]}" &&
    low cmake --build --preset fuzz -j2 --target parser_fuzzer job_fuzzer && ctest --preset fuzz
}
tidy() { JOBS=2 low scripts/clang-tidy.sh build-asan; }

# The tests' lane waits for each build of the other lane by a mark it leaves.
wait_for() {
  until [ -e "$marks/$1" ]; do
    [ -e "$marks/$1.failed" ] && { echo "== $2: not run, its build failed"; return 1; }
    sleep 2
  done
}
built() {
  local name=$1
  shift
  if stage "$@"; then touch "$marks/$name"; else touch "$marks/$name.failed"; return 1; fi
}
tests_lane() {
  local status=0
  stage "linux tests" ctest --preset asan -j2 || status=1
  if wait_for windows "windows tests"; then
    stage "windows tests" ctest --test-dir build-windows -j2 --output-on-failure || status=1
  else
    status=1
  fi
  return $status
}

stage "linux build (sanitizers)" linux_build
tests_lane > "$marks/tests.log" 2>&1 &
tests_pid=$!
status=0
built windows "windows build" windows_build || status=1
stage "fuzz build and runs" fuzz || status=1
stage "clang-tidy" tidy || status=1
echo "== waiting for the tests"
wait "$tests_pid" || status=1
cat "$marks/tests.log"
# Every stage's time last, where a shortened log still shows them.
cat "$marks/summary"
echo "== test command: $((SECONDS - total_start)) s, $([ $status -eq 0 ] && echo passed || echo FAILED)"
exit $status
