# SPDX-License-Identifier: MIT
# Windows builds: <windows.h> without its min and max macros, which break std::min
# and std::max, and, for MSVC, sources read as UTF-8 (the tests spell names in other
# scripts as u8"" literals).
if(WIN32)
  add_compile_definitions(NOMINMAX)
  add_compile_options($<$<CXX_COMPILER_ID:MSVC>:/utf-8>)
endif()
