# SPDX-License-Identifier: MIT
# WFCONV_FUZZ: libFuzzer coverage feedback on every target (the sanitizers come from
# sanitizers.cmake); only the fuzz target itself links libFuzzer's main.

if(WFCONV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "WFCONV_FUZZ needs clang++ (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
