# SPDX-License-Identifier: MIT
# Windows x86-64 with MinGW-w64 (posix threads), run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(WFCONV_TRIPLET x86_64-w64-mingw32)
set(WFCONV_COMPILER_SUFFIX -posix)
include(${CMAKE_CURRENT_LIST_DIR}/debian_cross.cmake)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# A prefix of the build's own, so that a fresh HOME (CI runs as root) works;
# cmake/windows.cmake creates it once, at configure time.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine ${CMAKE_CURRENT_LIST_DIR}/wine-run)
# wfconv.dll too takes the C++ runtime and winpthread in, and needs no DLL beyond Windows' own.
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
