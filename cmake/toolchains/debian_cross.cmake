# SPDX-License-Identifier: MIT
# Shared by the toolchain files: Debian's cross compilers for WFCONV_TRIPLET, finding
# libraries, headers and packages only in that target's tree.
set(CMAKE_C_COMPILER ${WFCONV_TRIPLET}-gcc${WFCONV_COMPILER_SUFFIX})
set(CMAKE_CXX_COMPILER ${WFCONV_TRIPLET}-g++${WFCONV_COMPILER_SUFFIX})
set(CMAKE_FIND_ROOT_PATH /usr/${WFCONV_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static: the programs need no target libraries at run time, so qemu needs no
# sysroot, the x86-64 kernel runs i686 programs without a 32-bit C library, and
# wfconv.exe needs no DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
