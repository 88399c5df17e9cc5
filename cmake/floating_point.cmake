# SPDX-License-Identifier: MIT
# Not warnings: correctness. The sample arithmetic, and the tests' and the fuzz
# target's reference arithmetic, rely on every operation being rounded on its own.
# Project-wide, so that no target that compiles the arithmetic can miss them. The flags,
# like the library's sources, come from src/library.txt, which every other build of the
# library (setup.py, matlab/) reads too.

# The values of KEY's lines in src/library.txt, sources as full paths.
function(wfconv_library_list key out)
  file(STRINGS ${PROJECT_SOURCE_DIR}/src/library.txt lines REGEX "^${key}: ")
  list(TRANSFORM lines REPLACE "^${key}: *" "")
  list(TRANSFORM lines PREPEND ${PROJECT_SOURCE_DIR}/ REGEX "^src/")
  set(${out} ${lines} PARENT_SCOPE)
endfunction()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/library.txt)

if(MSVC)
  wfconv_library_list(exact-msvc _wfconv_exact)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  wfconv_library_list(exact-gnu _wfconv_exact)
endif()
separate_arguments(_wfconv_exact NATIVE_COMMAND "${_wfconv_exact}")
add_compile_options(${_wfconv_exact})
