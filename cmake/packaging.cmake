# SPDX-License-Identifier: MIT
# `cpack` (or the workflow presets package and package-windows) packs what `cmake
# --install` installs: on Linux three Debian packages (debian_packages.cmake), on Windows a
# zip. Everything carries project()'s version. The same commit packs into the same bytes:
# cpack_project.cmake sets SOURCE_DATE_EPOCH, which cpack clamps every time stamp to.
# What the Debian packages carry in Debian's own form instead: the manual page compressed,
# the license as their copyright file.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT plain_install)

set(CPACK_PACKAGE_NAME wfconv)
set(CPACK_PACKAGE_VENDOR "the wfconv developers")
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_project.cmake)
set(CPACK_WFCONV_SOURCE_DIR ${PROJECT_SOURCE_DIR})
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME wfconv-${PROJECT_VERSION}-windows-x86_64)
  # The system's Python before any other on the PATH.
  find_program(CPACK_WFCONV_PYTHON NAMES python3 python HINTS /usr/bin)
  if(CPACK_WFCONV_PYTHON)
    set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/windows_zip.cmake)
  else()
    message(STATUS "No Python: the zip keeps cpack's own time stamps, owners and order")
  endif()
else()
  include(cmake/debian_packages.cmake)
endif()
include(CPack)
