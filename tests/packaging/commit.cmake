# The commit named by the version: this checkout's own, "unknown" for a tree without git.
# cmake -DSOURCE=<this checkout> -DWORK=<scratch folder> -P commit.cmake
include(${SOURCE}/cmake/QuillonCommit.cmake)
quillon_find_commit(commit ${SOURCE})
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS ${SOURCE}/.git)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE} rev-parse HEAD OUTPUT_VARIABLE head
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(SUBSTRING "${head}" 0 12 head)
  if(NOT commit STREQUAL head)
    message(FATAL_ERROR "the checkout at ${head} gives \"${commit}\"")
  endif()
elseif(NOT commit STREQUAL "unknown")
  message(FATAL_ERROR "a source tree without git gives \"${commit}\", not \"unknown\"")
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
