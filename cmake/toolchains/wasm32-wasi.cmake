# SPDX-License-Identifier: MIT
# WebAssembly for the page (web/): Debian's clang 14 with wasi-libc and its libc++
# (packages wasi-libc, libc++-14-dev-wasm32, libc++abi-14-dev-wasm32,
# libclang-rt-14-dev-wasm32, lld-14, llvm-14). Its libc++ has the floating-point to_chars
# that the report's number text uses; no exceptions, no file system.
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
# GNU ar writes no symbol index for WebAssembly objects, and wasm-ld needs one.
set(CMAKE_AR llvm-ar-14)
set(CMAKE_RANLIB llvm-ranlib-14)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# Platform/WASI.cmake
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/modules)
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -ffunction-sections -fdata-sections")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
