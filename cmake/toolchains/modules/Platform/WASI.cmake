# SPDX-License-Identifier: MIT
# What CMake needs to know of WASI, which it does not know by itself: executables are
# WebAssembly modules, and there are no shared libraries.
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
set_property(GLOBAL PROPERTY TARGET_SUPPORTS_SHARED_LIBS FALSE)
