# Cross-compiles the core and cairnwork-cli.exe for 64-bit Windows with Debian's MinGW-w64
# (g++-mingw-w64-x86-64, installed by tools/setup.sh --windows):
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
#   cmake --build build-windows --target cairnwork-cli
# A cross build holds the core libraries and cairnwork-cli.exe only (no Qt, no tests, no data
# generators: floor.dat comes from a native build).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CW_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CW_MINGW}-gcc)
set(CMAKE_CXX_COMPILER ${CW_MINGW}-g++)
set(CMAKE_RC_COMPILER ${CW_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CW_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The .exe runs alone: the C++ and GCC run-time libraries are linked into it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
