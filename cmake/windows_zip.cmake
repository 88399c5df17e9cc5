# SPDX-License-Identifier: MIT
# Run by cpack after it packs the zip (CPACK_POST_BUILD_SCRIPTS): the same files always give
# the same bytes (rewrite_zip.py).
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${CPACK_WFCONV_PYTHON} ${CPACK_WFCONV_SOURCE_DIR}/cmake/rewrite_zip.py ${zip}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
