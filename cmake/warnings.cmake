# SPDX-License-Identifier: MIT
# The one place for warning flags. Included from the root before any target exists,
# so every target of the project (program, tests, fuzzing, benchmarks) gets them.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wconversion)
  if(WFCONV_WERROR)
    add_compile_options(-Werror)
  endif()
endif()
