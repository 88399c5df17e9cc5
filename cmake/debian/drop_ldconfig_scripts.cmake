# Run by cpack after it packs (CPACK_POST_BUILD_SCRIPTS). cpack's DEB generator writes a
# postinst and a postrm that call ldconfig into every package with a shared library under
# /usr/lib; Debian runs ldconfig from the package's trigger instead, so the library package
# is repacked without them. dpkg-deb clamps the times to SOURCE_DATE_EPOCH as cpack does.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "/libwfconv[0-9]+_[^/]*\\.deb$")
    continue()
  endif()
  set(tree ${package}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build ${tree} ${package}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
