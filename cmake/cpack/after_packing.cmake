# SPDX-License-Identifier: MIT
# Run by cpack after it packs (CPACK_POST_BUILD_SCRIPTS), so that the same files always give the
# same bytes. A zip is rewritten by rewrite_zip.py: its members sorted, without owners. Each
# .deb is repacked by dpkg-deb, which gives the archive's members fixed modes (cpack's follow
# the umask) and clamps every time to SOURCE_DATE_EPOCH as cpack does. cpack's DEB generator
# also writes a postinst and a postrm that call ldconfig into every package with a shared
# library under /usr/lib; Debian runs ldconfig from the package's trigger instead, so they are
# left out. cpack takes
# Installed-Size from du, which counts the build file system's blocks; it is counted again
# as dpkg-gencontrol counts it: a file's size in KiB, rounded up, and 1 for anything else.
function(set_installed_size tree)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${tree} ${tree}/*)
  set(kib 0)
  foreach(entry IN LISTS entries)
    if(entry MATCHES "^DEBIAN(/|$)")
      continue()
    elseif(IS_SYMLINK ${tree}/${entry} OR IS_DIRECTORY ${tree}/${entry})
      math(EXPR kib "${kib} + 1")
    else()
      file(SIZE ${tree}/${entry} size)
      math(EXPR kib "${kib} + (${size} + 1023) / 1024")
    endif()
  endforeach()
  file(READ ${tree}/DEBIAN/control control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n" control "${control}")
  file(WRITE ${tree}/DEBIAN/control "${control}")
endfunction()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.zip$")
    execute_process(COMMAND ${CPACK_WFCONV_PYTHON} ${CPACK_WFCONV_SOURCE_DIR}/cmake/cpack/rewrite_zip.py ${package}
      COMMAND_ERROR_IS_FATAL ANY)
    continue()
  endif()
  set(tree ${package}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
  set_installed_size(${tree})
  # The two directories dpkg-deb made, as the umask had it, and that it packs as ./ entries.
  file(CHMOD ${tree} ${tree}/DEBIAN PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build ${tree} ${package}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
