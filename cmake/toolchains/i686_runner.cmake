# SPDX-License-Identifier: MIT
# How this machine runs the i686 programs: an x86-64 kernel built without 32-bit
# support refuses them (the shell then reads one as a script), so a static probe
# decides at configure time and, where it does not run, every i686 program runs
# under qemu-i386. -D WFCONV_I686_EMULATOR=qemu-i386 takes that path regardless.
if(CMAKE_IN_TRY_COMPILE)
  return()  # compile checks only: nothing is run there
endif()
# CMake reads a toolchain file more than once per run; probe once.
get_property(_wfconv_runner GLOBAL PROPERTY WFCONV_I686_RUNNER)
if(_wfconv_runner)
  if(NOT _wfconv_runner STREQUAL "native")
    set(CMAKE_CROSSCOMPILING_EMULATOR ${_wfconv_runner})
  endif()
  return()
endif()
set(WFCONV_I686_EMULATOR "" CACHE STRING
  "Run the i686 programs under this emulator (qemu-i386); empty: natively where the kernel can")

set(_wfconv_probe_dir ${CMAKE_BINARY_DIR}/CMakeFiles/i686_probe)
file(WRITE ${_wfconv_probe_dir}/probe.cpp "int main() { return 42; }\n")
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -static -o probe probe.cpp
  WORKING_DIRECTORY ${_wfconv_probe_dir} RESULT_VARIABLE _wfconv_status ERROR_VARIABLE _wfconv_error)
if(NOT _wfconv_status EQUAL 0)
  message(FATAL_ERROR "${CMAKE_CXX_COMPILER} cannot build a static i686 program "
                      "(Debian: apt-get install g++-i686-linux-gnu): ${_wfconv_status}\n${_wfconv_error}")
endif()

# The probe's own status, 42, shows that it ran, not merely that something did.
if(WFCONV_I686_EMULATOR)
  set(_wfconv_emulator ${WFCONV_I686_EMULATOR})
  set(_wfconv_reason "WFCONV_I686_EMULATOR")
else()
  execute_process(COMMAND ${_wfconv_probe_dir}/probe RESULT_VARIABLE _wfconv_status OUTPUT_QUIET ERROR_QUIET)
  if(_wfconv_status EQUAL 42)
    message(STATUS "i686 programs run natively")
    set_property(GLOBAL PROPERTY WFCONV_I686_RUNNER native)
    return()
  endif()
  set(_wfconv_emulator qemu-i386)
  set(_wfconv_reason "this kernel does not run them: ${_wfconv_status}")
endif()

find_program(WFCONV_I686_EMULATOR_PATH ${_wfconv_emulator} NO_CACHE)
set(_wfconv_status "not found")
if(WFCONV_I686_EMULATOR_PATH)
  execute_process(COMMAND ${WFCONV_I686_EMULATOR_PATH} ${_wfconv_probe_dir}/probe
    RESULT_VARIABLE _wfconv_status OUTPUT_QUIET ERROR_QUIET)
endif()
if(NOT _wfconv_status EQUAL 42)
  message(FATAL_ERROR "i686 programs need ${_wfconv_emulator} (${_wfconv_reason}), which does not run "
                      "them: ${_wfconv_status} (Debian: apt-get install qemu-user)")
endif()
message(STATUS "i686 programs run under ${_wfconv_emulator} (${_wfconv_reason})")
set(CMAKE_CROSSCOMPILING_EMULATOR ${WFCONV_I686_EMULATOR_PATH})
set_property(GLOBAL PROPERTY WFCONV_I686_RUNNER ${WFCONV_I686_EMULATOR_PATH})
