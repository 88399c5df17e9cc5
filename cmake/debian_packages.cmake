# SPDX-License-Identifier: MIT
# Three Debian packages, one per install component, as Debian packages a C library:
#   wfconv         the commands (static PIEs) and their manual pages;
#   libwfconv1     libwfconv.so.1, named after its SONAME, so that programs share it and it
#                  is upgraded apart from the command;
#   libwfconv-dev  what building against the library needs.
# Each carries the copyright file and the changelog (made from NEWS.md; changelog.gz, as
# these are native packages: their packaging is part of the project). What Debian wants in
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
    -P ${PROJECT_SOURCE_DIR}/cmake/debian_changelog.cmake
  COMMAND ${WFCONV_GZIP} -9nf ${_wfconv_debian}/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/NEWS.md ${PROJECT_SOURCE_DIR}/cmake/debian_changelog.cmake VERBATIM)
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
# maintainer scripts, which cpack writes and finish_packages.cmake takes out again.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")  # any later 1.x serves what this one built
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian/finish_packages.cmake)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${_wfconv_library_package} (= ${PROJECT_VERSION})")
# The first release's single package, wfconv, held the libraries too: upgrading it hands them
# on. Named as any wfconv older than this release, as the three packages of a release go
# together, so that no version but project()'s is written here.
foreach(_wfconv_component LIBRARY DEVELOPMENT)
  set(CPACK_DEBIAN_${_wfconv_component}_PACKAGE_BREAKS "wfconv (<< ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_${_wfconv_component}_PACKAGE_REPLACES "wfconv (<< ${PROJECT_VERSION})")
endforeach()
