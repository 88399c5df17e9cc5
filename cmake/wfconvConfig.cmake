# SPDX-License-Identifier: MIT
# find_package(wfconv CONFIG) lands here: wfconv::wfconv (C++) and wfconv::wfconv_c (C);
# neither needs anything else.
include("${CMAKE_CURRENT_LIST_DIR}/wfconvTargets.cmake")
