# The commit named by the version: this checkout's own, "unknown" for a tree without git.
# cmake -DSOURCE=<this checkout> -DWORK=<scratch folder> -P commit.cmake
include(${SOURCE}/cmake/QuillonCommit.cmake)
quillon_find_commit(commit ${SOURCE})
if(NOT commit MATCHES "^[0-9a-f]+$")
  message(FATAL_ERROR "the checkout gives \"${commit}\", not its commit")
endif()
# A copy of a file of the tree, as an unpacked source archive would hold it, has no commit; the
# scratch folder lies in the build folder, which may itself lie in a checkout.
file(REMOVE_RECURSE ${WORK}/no-git)
file(MAKE_DIRECTORY ${WORK}/no-git)
quillon_find_commit(none ${WORK}/no-git)
if(NOT none STREQUAL "unknown")
  message(FATAL_ERROR "a tree without git gives \"${none}\", not \"unknown\"")
endif()
message(STATUS "commit ${commit}; without git: ${none}")
