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
