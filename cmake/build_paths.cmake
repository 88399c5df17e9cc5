# Keeps the directories of a build out of what it builds: __FILE__ (in assertions) and the
# debug information name the sources relative to the tree, so the same source gives the
# same bytes wherever it is built. Debug builds keep whole paths, for the debugger.
include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-ffile-prefix-map=/a=. WFCONV_COMPILER_FILE_PREFIX_MAP)
if(WFCONV_COMPILER_FILE_PREFIX_MAP)
  # The build tree may lie inside the source tree; g++ tries the last map first and
  # clang++ the longest, so both take its own.
  foreach(dir ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${dir}=.>)
  endforeach()
endif()
