# SPDX-License-Identifier: MIT
# What a build for Windows needs beyond the compiler's flags: the headers' settings, no link
# time in its files, a Wine prefix to run its tests in, and a zip that packs to the same bytes.
include(CheckLinkerFlag)

if(WIN32)
  # <windows.h> without its min and max macros, which break std::min and std::max; for MSVC,
  # sources read as UTF-8 (the tests spell names in other scripts as u8"" literals).
  add_compile_definitions(NOMINMAX)
  add_compile_options($<$<CXX_COMPILER_ID:MSVC>:/utf-8>)
  # No time of the link in a program or DLL: the GNU linker writes it into the PE headers and
  # the export table unless told not to (they then hold zero).
  check_linker_flag(CXX "LINKER:--no-insert-timestamp" WFCONV_LINKER_NO_TIMESTAMP)
  if(WFCONV_LINKER_NO_TIMESTAMP)
    add_link_options("LINKER:--no-insert-timestamp")
  endif()
endif()

# The tests run under Wine, in the prefix that the emulator names (WINEPREFIX=...,
# cmake/toolchains/windows-x86_64.cmake). Wine's first start fills a new prefix, which takes
# a while; done once, at configure time, it is not repeated by every test program that starts
# at the same time.
function(wfconv_make_wine_prefix)
  string(REGEX MATCH "WINEPREFIX=[^;]*" prefix "${CMAKE_CROSSCOMPILING_EMULATOR}")
  string(REPLACE "WINEPREFIX=" "" prefix "${prefix}")
  if(NOT prefix OR EXISTS ${prefix}/system.reg)
    return()
  endif()
  message(STATUS "Creating the Wine prefix ${prefix}")
  execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot --init
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  # The registry files are written when the session's server ends.
  execute_process(COMMAND env WINEPREFIX=${prefix} wineserver --wait)
  if(NOT status EQUAL 0 OR NOT EXISTS ${prefix}/system.reg)
    message(FATAL_ERROR "wine could not create its prefix ${prefix} (status ${status})")
  endif()
endfunction()

# The zip: named for the platform, and rewritten after cpack packs it (cmake/cpack/after_packing.cmake
# runs cmake/cpack/rewrite_zip.py) so that the same files always give the same bytes.
function(wfconv_windows_zip)
  set(CPACK_GENERATOR ZIP PARENT_SCOPE)
  set(CPACK_PACKAGE_FILE_NAME wfconv-${PROJECT_VERSION}-windows-x86_64 PARENT_SCOPE)
  # The system's Python before any other on the PATH.
  find_program(CPACK_WFCONV_PYTHON NAMES python3 python HINTS /usr/bin)
  if(CPACK_WFCONV_PYTHON)
    set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack/after_packing.cmake PARENT_SCOPE)
  else()
    message(STATUS "No Python: the zip keeps cpack's own time stamps, owners and order")
  endif()
endfunction()
