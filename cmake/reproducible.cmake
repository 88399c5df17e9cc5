# SPDX-License-Identifier: MIT
# The same source gives the same bytes wherever and whenever it is built.

# No directory of the build in what it makes: __FILE__ (in assertions) and the debug
# information name the sources relative to the tree. Debug builds keep whole paths, for
# the debugger.
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
check_cxx_compiler_flag(-ffile-prefix-map=/a=. WFCONV_COMPILER_FILE_PREFIX_MAP)
if(WFCONV_COMPILER_FILE_PREFIX_MAP)
  # The build tree may lie inside the source tree; g++ tries the last map first and
  # clang++ the longest, so both take its own.
  foreach(dir ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${dir}=.>)
  endforeach()
endif()

# No time of the link in a Windows program or DLL: the GNU linker writes it into the PE
# headers and the export table unless told not to (they then hold zero).
if(WIN32)
  check_linker_flag(CXX "LINKER:--no-insert-timestamp" WFCONV_LINKER_NO_TIMESTAMP)
  if(WFCONV_LINKER_NO_TIMESTAMP)
    add_link_options("LINKER:--no-insert-timestamp")
  endif()
endif()
