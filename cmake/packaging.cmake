# SPDX-License-Identifier: MIT
# What the project installs beyond its targets, and how cpack packs it.

# --- For consumers of the installed library: a CMake package (wfconv::wfconv, the C++ API and
# the C interface, static; wfconv::wfconv_c, the C interface, shared; with a version file) and a
# pkg-config file for each (wfconv, wfconv-c). Both locate the prefix from where they lie, so `cmake --install
# --prefix DIR` may pick any DIR.
include(CMakePackageConfigHelpers)

set(_wfconv_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/wfconv)
install(EXPORT wfconv_targets NAMESPACE wfconv:: FILE wfconvTargets.cmake DESTINATION ${_wfconv_cmake_dir}
  COMPONENT development)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/wfconvConfigVersion.cmake COMPATIBILITY SameMajorVersion)
file(WRITE ${PROJECT_BINARY_DIR}/wfconvConfig.cmake [[
# SPDX-License-Identifier: MIT
# find_package(wfconv CONFIG) lands here: wfconv::wfconv (C++) and wfconv::wfconv_c (C);
# neither needs anything else.
include("${CMAKE_CURRENT_LIST_DIR}/wfconvTargets.cmake")
]])
install(FILES ${PROJECT_BINARY_DIR}/wfconvConfig.cmake ${PROJECT_BINARY_DIR}/wfconvConfigVersion.cmake
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
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/wfconv.pc @ONLY CONTENT [[
# SPDX-License-Identifier: MIT
prefix=@WFCONV_PC_PREFIX@
libdir=@WFCONV_PC_LIBDIR@
includedir=@WFCONV_PC_INCLUDEDIR@

Name: wfconv
Description: Reads waveform files into the exact values of the wfconv command (C++20)
Version: @PROJECT_VERSION@
Cflags: -I${includedir}
# The static archive by name: -lwfconv would find the shared C library beside it.
Libs: ${libdir}/@WFCONV_PC_ARCHIVE@
]])
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/wfconv-c.pc @ONLY CONTENT [[
# SPDX-License-Identifier: MIT
prefix=@WFCONV_PC_PREFIX@
libdir=@WFCONV_PC_LIBDIR@
includedir=@WFCONV_PC_INCLUDEDIR@

Name: wfconv-c
Description: Reads waveform files into the exact values of the wfconv command (C interface)
Version: @PROJECT_VERSION@
Cflags: -I${includedir}
Libs: -L${libdir} -lwfconv
# A static link (--static) takes libwfconv.a, which holds the C interface too, written in C++.
Libs.private: @WFCONV_PC_CXX_RUNTIME@
]])
install(FILES ${PROJECT_BINARY_DIR}/wfconv.pc ${PROJECT_BINARY_DIR}/wfconv-c.pc DESTINATION ${_wfconv_pc_dir}
  COMPONENT development)

# WebAssembly builds the page only.
if(CMAKE_SYSTEM_NAME STREQUAL "WASI")
  return()
endif()

# --- `cpack` (or the workflow presets package and package-windows) packs what `cmake
# --install` installs: on Linux three Debian packages, on Windows a zip (windows.cmake).
# Everything carries project()'s version. The same commit packs into the same bytes:
# cmake/cpack/before_packing.cmake sets SOURCE_DATE_EPOCH, which cpack clamps every time stamp
# to, and after_packing.cmake rewrites what cpack leaves to chance.
# (The README and format.md are installed by docs/.)
# What the Debian packages carry in Debian's own form instead: the manual page compressed,
# the license as their copyright file.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT plain_install)

set(CPACK_PACKAGE_NAME wfconv)
set(CPACK_PACKAGE_VENDOR "the wfconv developers")
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack/before_packing.cmake)
set(CPACK_WFCONV_SOURCE_DIR ${PROJECT_SOURCE_DIR})
if(WIN32)
  wfconv_windows_zip()
  include(CPack)
  return()
endif()

# --- Three Debian packages, one per install component, as Debian packages a C library:
#   wfconv         the commands (static PIEs) and their manual pages;
#   libwfconv1     libwfconv.so.1, named after its SONAME, so that programs share it and it
#                  is upgraded apart from the command;
#   libwfconv-dev  what building against the library needs.
# Each carries the copyright file and the changelog (made from NEWS.md by
# cmake/debian/changelog.cmake; changelog.gz, as these are native packages: their packaging is
# part of the project). What Debian wants in
# another form than a plain install is installed into the packages only (EXCLUDE_FROM_ALL:
# cpack installs component by component); the plain_install component is left out of them.
set(WFCONV_PACKAGE_MAINTAINER "wfconv developers <wfconv-developers@users.noreply.invalid>" CACHE STRING
  "The Debian packages' Maintainer: the name and address of whoever publishes them")
set(_wfconv_library_package libwfconv${PROJECT_VERSION_MAJOR})
set(_wfconv_components command library development)
set(_wfconv_packages wfconv ${_wfconv_library_package} libwfconv-dev)
set(_wfconv_debian ${PROJECT_BINARY_DIR}/debian)
find_program(WFCONV_GZIP gzip REQUIRED)

# The copyright file in Debian's machine-readable format, its notice and text from LICENSE.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _wfconv_license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${_wfconv_license}")
set(_wfconv_copyright "${CMAKE_MATCH_1}")
string(FIND "${_wfconv_license}" "Permission is hereby" _wfconv_text_start)
string(SUBSTRING "${_wfconv_license}" ${_wfconv_text_start} -1 _wfconv_license)
string(STRIP "${_wfconv_license}" _wfconv_license)
string(REPLACE "\n\n" "\n.\n" _wfconv_license "${_wfconv_license}")
string(REPLACE "\n" "\n " _wfconv_license " ${_wfconv_license}")
file(CONFIGURE OUTPUT ${_wfconv_debian}/copyright @ONLY CONTENT [[
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: wfconv
Upstream-Contact: @WFCONV_PACKAGE_MAINTAINER@

Files: *
Copyright: @_wfconv_copyright@
License: Expat
Comment: the MIT license
@_wfconv_license@
]])

# The changelog and the manual page, compressed as Debian wants them (gzip -9n: no name,
# no time stamp inside).
add_custom_command(OUTPUT ${_wfconv_debian}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -D NEWS=${PROJECT_SOURCE_DIR}/NEWS.md -D SOURCE_PACKAGE=wfconv
    "-D MAINTAINER=${WFCONV_PACKAGE_MAINTAINER}" -D OUTPUT=${_wfconv_debian}/changelog
    -P ${PROJECT_SOURCE_DIR}/cmake/debian/changelog.cmake
  COMMAND ${WFCONV_GZIP} -9nf ${_wfconv_debian}/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/NEWS.md ${PROJECT_SOURCE_DIR}/cmake/debian/changelog.cmake VERBATIM)
set(_wfconv_pages)
foreach(_wfconv_page wfconv.1 wfconv-csv.1)
  add_custom_command(OUTPUT ${_wfconv_debian}/${_wfconv_page}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/docs/${_wfconv_page} ${_wfconv_debian}/${_wfconv_page}
    COMMAND ${WFCONV_GZIP} -9nf ${_wfconv_debian}/${_wfconv_page}
    DEPENDS ${PROJECT_BINARY_DIR}/docs/${_wfconv_page} VERBATIM)
  list(APPEND _wfconv_pages ${_wfconv_debian}/${_wfconv_page}.gz)
endforeach()
add_custom_target(wfconv_debian_files ALL DEPENDS ${_wfconv_debian}/changelog.gz ${_wfconv_pages})

install(FILES ${_wfconv_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT command EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/wfconv.lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME wfconv COMPONENT command EXCLUDE_FROM_ALL)
foreach(_wfconv_component _wfconv_package IN ZIP_LISTS _wfconv_components _wfconv_packages)
  string(TOUPPER ${_wfconv_component} _wfconv_upper)
  set(CPACK_DEBIAN_${_wfconv_upper}_PACKAGE_NAME ${_wfconv_package})
  install(FILES ${_wfconv_debian}/copyright ${_wfconv_debian}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${_wfconv_package} COMPONENT ${_wfconv_component} EXCLUDE_FROM_ALL)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${_wfconv_components})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${WFCONV_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_COMMAND_PACKAGE_SECTION science)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_COMMAND_DESCRIPTION "converts two-channel binary waveform files into one text file per channel
wfconv writes every sample of a waveform file as its scaled value, byte-exact
and correctly rounded on every platform.")
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION "reads two-channel binary waveform files (shared library)
The C interface of wfconv: the values the wfconv command writes, as floats, for
C and any language that calls C functions.")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "reads two-channel binary waveform files (development files)
The headers of the C interface (libwfconv.so.1) and of the C++ library
(static), with a CMake package and the pkg-config files wfconv and wfconv-c.")
# dpkg-shlibdeps finds the dependencies (libc6 only: the C++ runtime is linked in), and the
# library package gets a shlibs file; ldconfig runs from dpkg's trigger (triggers), not from
# maintainer scripts, which cpack writes and after_packing.cmake takes out again.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")  # any later 1.x serves what this one built
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack/after_packing.cmake)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${_wfconv_library_package} (= ${PROJECT_VERSION})")
# The first release's single package, wfconv, held the libraries too: upgrading it hands them
# on. Named as any wfconv older than this release, as the three packages of a release go
# together, so that no version but project()'s is written here.
foreach(_wfconv_component LIBRARY DEVELOPMENT)
  set(CPACK_DEBIAN_${_wfconv_component}_PACKAGE_BREAKS "wfconv (<< ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_${_wfconv_component}_PACKAGE_REPLACES "wfconv (<< ${PROJECT_VERSION})")
endforeach()
include(CPack)
