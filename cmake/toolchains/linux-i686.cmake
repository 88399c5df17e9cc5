# SPDX-License-Identifier: MIT
# 32-bit x86 Linux, run natively where the x86-64 kernel runs 32-bit programs, else
# under qemu-i386 (i686_runner.cmake). No flags here: the project itself selects
# SSE2 arithmetic (cmake/compiler.cmake).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(WFCONV_TRIPLET i686-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/debian_cross.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/i686_runner.cmake)
