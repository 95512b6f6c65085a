#!/usr/bin/env bash
# Installs what building, running and testing Cairnwork needs on Debian 12 (run as root).
# Packages already installed are not fetched again.
#   tools/setup.sh             the native build, the tests and the Debian package
#   tools/setup.sh --windows   also the MinGW-w64 cross compiler for cairnwork-cli.exe and Wine,
#                              which runs the Windows test (tools/windows.sh)
set -euo pipefail
# Qt's OpenGL widgets (libqt6opengl6-dev) and Mesa's software OpenGL (libgl1-mesa-dri: llvmpipe
# through GLX, libegl-mesa0 through EGL), which draw the room editor's 3D view on a machine
# without a GPU and under Xvfb; qt6-tools-dev and qt6-l10n-tools make the English translation.
packages=(cmake make g++ clang libclang-rt-14-dev qt6-base-dev qt6-qpa-plugins qt6-tools-dev qt6-l10n-tools
          libqt6opengl6-dev libgl1-mesa-dri libglx-mesa0 libegl-mesa0
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth dpkg-dev)
for argument in "$@"; do
  case $argument in
    --windows) packages+=(g++-mingw-w64-x86-64 wine64) ;;
    *) echo "usage: tools/setup.sh [--windows]" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
