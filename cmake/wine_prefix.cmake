# SPDX-License-Identifier: MIT
# A build for Windows runs its programs under Wine, in the prefix that the emulator
# names (WINEPREFIX=..., cmake/toolchains/windows-x86_64.cmake). Wine's first start
# fills a new prefix, which takes a while; done here, once, it is not repeated by
# every test program that starts at the same time.
string(REGEX MATCH "WINEPREFIX=[^;]*" _wfconv_wine_prefix "${CMAKE_CROSSCOMPILING_EMULATOR}")
string(REPLACE "WINEPREFIX=" "" _wfconv_wine_prefix "${_wfconv_wine_prefix}")
if(_wfconv_wine_prefix AND NOT EXISTS ${_wfconv_wine_prefix}/system.reg)
  message(STATUS "Creating the Wine prefix ${_wfconv_wine_prefix}")
  execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot --init
    RESULT_VARIABLE _wfconv_wine_status OUTPUT_QUIET ERROR_QUIET)
  # The registry files are written when the session's server ends.
  execute_process(COMMAND env WINEPREFIX=${_wfconv_wine_prefix} wineserver --wait)
  if(NOT _wfconv_wine_status EQUAL 0 OR NOT EXISTS ${_wfconv_wine_prefix}/system.reg)
    message(FATAL_ERROR "wine could not create its prefix ${_wfconv_wine_prefix} (status ${_wfconv_wine_status})")
  endif()
endif()
