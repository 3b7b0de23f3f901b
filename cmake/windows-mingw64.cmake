# Cross-building the Windows program (x86-64) with Debian's MinGW-w64 and its POSIX thread model
# (std::thread needs it). scripts/windows.sh uses this file; by hand:
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/windows-mingw64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORVEL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORVEL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVEL_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The .exe runs alone: libstdc++, libgcc and winpthread linked in, only system DLLs needed.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
