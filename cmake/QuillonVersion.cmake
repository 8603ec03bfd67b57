# The version and the commit the build is configured from, for `quillon --version` and
# quillon_version(): a generated header, quillon_version.h, on the target quillon_version.
# The commit is read from git when the source tree is a checkout (a worktree too); a tree without
# git (an unpacked source archive) says "unknown", or what -DQUILLON_COMMIT=... gives.
set(QUILLON_COMMIT "" CACHE STRING "The commit to name in the version (empty: ask git)")

include(${CMAKE_CURRENT_LIST_DIR}/QuillonCommit.cmake)

if(QUILLON_COMMIT)
  set(QUILLON_BUILD_COMMIT "${QUILLON_COMMIT}")
else()
  quillon_find_commit(QUILLON_BUILD_COMMIT ${PROJECT_SOURCE_DIR})
endif()
message(STATUS "Quillon ${PROJECT_VERSION}, commit ${QUILLON_BUILD_COMMIT}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/quillon_version.h.in
               ${PROJECT_BINARY_DIR}/generated/quillon_version.h @ONLY)
add_library(quillon_version INTERFACE)
target_include_directories(quillon_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
