# find_package(wfconv CONFIG) lands here; the library needs nothing else.
include("${CMAKE_CURRENT_LIST_DIR}/wfconvTargets.cmake")
