# SPDX-License-Identifier: MIT
# WFCONV_CLANG_TIDY: clang-tidy on every source while it is compiled. The checks
# live in .clang-tidy; any finding fails the build.

if(WFCONV_CLANG_TIDY)
  find_program(WFCONV_CLANG_TIDY_EXE NAMES clang-tidy clang-tidy-14 REQUIRED)
  set(CMAKE_CXX_CLANG_TIDY ${WFCONV_CLANG_TIDY_EXE} --warnings-as-errors=*)
endif()
