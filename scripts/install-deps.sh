#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need (only the missing ones);
# with --demo, only what building and running the demo needs; given package names, only those.
set -euo pipefail
demo_packages=(
  build-essential cmake ninja-build pkg-config
  libicu-dev qt6-base-dev libgl-dev libcups2-dev
  zlib1g-dev                     # the PNG pictures of the tickets
  python3
)
packages=(
  "${demo_packages[@]}"
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-translations-l10n
  cups cups-client cups-bsd
  xvfb xauth
  rapidjson-dev nlohmann-json3-dev libsimdjson-dev
  dpkg-dev desktop-file-utils    # the Debian package and its tests
  trayer imagemagick xdotool     # scripts/readme-pictures.sh
  clang-14 libclang-rt-14-dev    # the fuzz targets (libFuzzer)
  clang-format-14 clang-tidy-14  # the format check and clang-tidy
  ccache                         # the test command's compiler cache
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 nsis  # the Windows agent
)
if [ "${1:-}" = --demo ]; then
  packages=("${demo_packages[@]}")
elif [ $# -gt 0 ]; then
  packages=("$@")
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Instalando: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get install -y "${missing[@]}" || {
    "${sudo_cmd[@]}" apt-get update
    "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
  }
fi
