# SPDX-License-Identifier: MIT
# The sample arithmetic needs every double operation rounded once, straight to
# double. GCC and Clang targeting 32-bit x86 default to x87 arithmetic, which
# carries excess precision (FLT_EVAL_METHOD 2); there the build selects SSE2
# (Pentium 4, Athlon 64 and every later x86 processor). Other targets are left alone.
include(CheckCXXSourceCompiles)

set(_wfconv_rounds_once_check [=[
#include <cfloat>
#if FLT_EVAL_METHOD != 0
#error "excess precision"
#endif
int main() { return 0; }
]=])

check_cxx_source_compiles("${_wfconv_rounds_once_check}" WFCONV_DOUBLE_ROUNDS_ONCE)
if(NOT WFCONV_DOUBLE_ROUNDS_ONCE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(CMAKE_REQUIRED_FLAGS "-msse2 -mfpmath=sse")
  check_cxx_source_compiles("${_wfconv_rounds_once_check}" WFCONV_DOUBLE_ROUNDS_ONCE_WITH_SSE2)
  unset(CMAKE_REQUIRED_FLAGS)
  if(WFCONV_DOUBLE_ROUNDS_ONCE_WITH_SSE2)
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
endif()
