# `cpack` (or the workflow presets package and package-windows) packs what `cmake
# --install` installs: a Debian package, wfconv_VERSION_amd64.deb, or on Windows a zip.
# Everything carries project()'s version.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME wfconv)
set(CPACK_PACKAGE_VENDOR "wfconv developers")
set(CPACK_PACKAGE_CONTACT "wfconv developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converts two-channel binary waveform files into one text file per channel")
set(CPACK_PACKAGE_DESCRIPTION "wfconv writes every sample of a waveform file as its scaled value, byte-exact and
correctly rounded on every platform. The package also holds the library that reads
the same values into programs: C++ (static), and C (shared, libwfconv.so.1) for any
language that calls C functions.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME wfconv-${PROJECT_VERSION}-windows-x86_64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  # The dependencies as dpkg-shlibdeps finds them (libc6 only, the C++ runtime being
  # linked in), and a shlibs file with ldconfig's trigger for libwfconv.so.1.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")  # any 1.x serves what 1.0 built
endif()
include(CPack)
