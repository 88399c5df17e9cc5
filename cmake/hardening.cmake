# Compiler settings behind the WFCONV_* options. Included from the root before any
# target exists, so every target of the project gets them.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wconversion)
  if(WFCONV_WERROR)
    add_compile_options(-Werror)
  endif()
endif()

if(WFCONV_SANITIZE OR WFCONV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "WFCONV_SANITIZE and WFCONV_FUZZ need g++ or clang++")
  endif()
  # Any report ends the run, so a test can never pass over one.
  set(_wfconv_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
  add_compile_options(${_wfconv_sanitizers} -fno-omit-frame-pointer)
  add_link_options(${_wfconv_sanitizers})
endif()

if(WFCONV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "WFCONV_FUZZ needs clang++ (libFuzzer)")
  endif()
  # Coverage feedback for all code; only the fuzz target links libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(WFCONV_CLANG_TIDY)
  find_program(WFCONV_CLANG_TIDY_EXE NAMES clang-tidy clang-tidy-14 REQUIRED)
  # The checks live in .clang-tidy; any finding fails the build.
  set(CMAKE_CXX_CLANG_TIDY ${WFCONV_CLANG_TIDY_EXE} --warnings-as-errors=*)
endif()
