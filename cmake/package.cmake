# SPDX-License-Identifier: MIT
# What consumers of the installed library find: a CMake package (wfconv::wfconv, the C++
# API and the C interface, static; wfconv::wfconv_c, the C interface, shared; with a
# version file) and a pkg-config file for each (wfconv, wfconv-c). Both locate the prefix from where they lie, so
# `cmake --install --prefix DIR` may pick any DIR.
include(CMakePackageConfigHelpers)

set(_wfconv_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/wfconv)
install(EXPORT wfconv_targets NAMESPACE wfconv:: FILE wfconvTargets.cmake DESTINATION ${_wfconv_cmake_dir}
  COMPONENT development)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/wfconvConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/wfconvConfig.cmake ${PROJECT_BINARY_DIR}/wfconvConfigVersion.cmake
  DESTINATION ${_wfconv_cmake_dir} COMPONENT development)

set(_wfconv_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(IS_ABSOLUTE ${CMAKE_INSTALL_LIBDIR} OR IS_ABSOLUTE ${CMAKE_INSTALL_INCLUDEDIR})
  set(WFCONV_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
  set(WFCONV_PC_LIBDIR ${CMAKE_INSTALL_FULL_LIBDIR})
  set(WFCONV_PC_INCLUDEDIR ${CMAKE_INSTALL_FULL_INCLUDEDIR})
else()
  # ../.. for lib/pkgconfig, ../../.. for Debian's lib/<triplet>/pkgconfig.
  file(RELATIVE_PATH _wfconv_up /prefix/${_wfconv_pc_dir} /prefix)
  string(REGEX REPLACE "/$" "" _wfconv_up ${_wfconv_up})
  set(WFCONV_PC_PREFIX "\${pcfiledir}/${_wfconv_up}")
  set(WFCONV_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(WFCONV_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
set(WFCONV_PC_ARCHIVE ${CMAKE_STATIC_LIBRARY_PREFIX}wfconv${CMAKE_STATIC_LIBRARY_SUFFIX})
# What a C program linked with the static library needs besides: the C++ runtime.
if(APPLE)
  set(WFCONV_PC_CXX_RUNTIME "-lc++")
elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(WFCONV_PC_CXX_RUNTIME "-lstdc++ -lm")
else()
  set(WFCONV_PC_CXX_RUNTIME "")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/wfconv.pc.in ${PROJECT_BINARY_DIR}/wfconv.pc @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/wfconv-c.pc.in ${PROJECT_BINARY_DIR}/wfconv-c.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/wfconv.pc ${PROJECT_BINARY_DIR}/wfconv-c.pc DESTINATION ${_wfconv_pc_dir}
  COMPONENT development)
