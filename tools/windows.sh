#!/usr/bin/env bash
# Cross-compiles the core and cairnwork-cli.exe for 64-bit Windows with MinGW-w64 in
# build-windows/ (installing the cross compiler and Wine when missing), then runs the Windows
# test: the .exe under Wine against the native cairnwork-cli of tools/test.sh's build-test/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --windows
cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DCW_WERROR=ON
cmake --build build-windows -j"$(nproc)" --target cairnwork-cli
if [[ -d build-test ]]; then
  ctest --test-dir build-test -R '^windows\.' --output-on-failure
fi
