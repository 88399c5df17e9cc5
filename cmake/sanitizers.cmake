# SPDX-License-Identifier: MIT
# WFCONV_SANITIZE (and WFCONV_FUZZ, which builds on it): AddressSanitizer and
# UndefinedBehaviorSanitizer on every target.

if(WFCONV_SANITIZE OR WFCONV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "WFCONV_SANITIZE and WFCONV_FUZZ need g++ or clang++")
  endif()
  # Any report ends the run, so a test can never pass over one.
  set(_wfconv_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
  add_compile_options(${_wfconv_sanitizers} -fno-omit-frame-pointer)
  add_link_options(${_wfconv_sanitizers})
endif()

# Sanitizers may also come the usual way, in the compiler or linker flags. Their runtimes
# cannot work in a static program, so static_runtime.cmake and hardening.cmake treat such a
# build as one with WFCONV_SANITIZE.
string(TOUPPER "${CMAKE_BUILD_TYPE}" _wfconv_config)
set(WFCONV_ANY_SANITIZER ${WFCONV_SANITIZE})
if(WFCONV_FUZZ)
  set(WFCONV_ANY_SANITIZER ON)
endif()
foreach(_wfconv_flags CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_${_wfconv_config} CMAKE_EXE_LINKER_FLAGS
                      CMAKE_EXE_LINKER_FLAGS_${_wfconv_config})
  if(NOT WFCONV_ANY_SANITIZER AND "${${_wfconv_flags}}" MATCHES "-fsanitize=")
    set(WFCONV_ANY_SANITIZER ON)
    message(STATUS "wfconv: -fsanitize= in ${_wfconv_flags}, so wfconv links dynamically (no static runtime)")
  endif()
endforeach()
