# SPDX-License-Identifier: MIT
# Read by cpack before it packs (CPACK_PROJECT_CONFIG_FILE). Without SOURCE_DATE_EPOCH,
# the commit's date: packing the same commit again, anywhere, at any time, gives the same
# archive bytes. Outside a git checkout the files keep their own times.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${CPACK_WFCONV_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE commit_time RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(status EQUAL 0 AND commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
  endif()
endif()
