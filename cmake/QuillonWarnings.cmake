# Warnings are on for every build of the project's own code (third-party code never passes through
# here). They stop the build only where developers and CI ask for it (QUILLON_WERROR): a user or a
# packager with a newer compiler gets its warnings, not a failed build.
function(quillon_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough)
  if(QUILLON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # GCC 12 at -O3 reports overlapping memcpy inside std::string's own inlined code (GCC bug
  # 105329), in code that only concatenates strings; the check is off there until GCC 13.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# A target whose code inlines Qt's headers (the renderer, the demo window and their tests).
function(quillon_qt_warnings target)
  quillon_warnings(${target})
  # GCC reports possible null dereferences inside Qt's own inline code once it is inlined into
  # ours (QWidget::testAttribute, a known false positive); the check stays on everywhere else.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-null-dereference)
  endif()
endfunction()

# A test executable of the project: linked to GoogleTest and registered with CTest. SERVER: its
# tests touch the account database, so they are registered a second time ("server." in front of
# their names) to run on the test server, when the build has one (see tests/support).
function(quillon_test name)
  cmake_parse_arguments(ARG "QT;SERVER" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  # Test code is compiled for a short build rather than for speed: its files go through the
  # compiler together (GoogleTest's and the library's headers read once per batch), and at -O1 in
  # the optimised builds; the library under test keeps the build's own flags.
  if(QUILLON_UNITY_TESTS)
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
  target_compile_options(${name} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-O1>)
  # In the sanitizer build the library is instrumented and the test program runs under the
  # sanitizers' runtime (linked in: leaks, the library's memory and undefined behaviour are all
  # reported), but the test code itself is not instrumented: that would double its compile time
  # and check only the tests.
  if(QUILLON_SANITIZE)
    get_target_property(options ${name} COMPILE_OPTIONS)
    if(options)
      list(REMOVE_ITEM options -fsanitize=address,undefined -fsanitize=fuzzer-no-link)
      set_target_properties(${name} PROPERTIES COMPILE_OPTIONS "${options}")
    endif()
  endif()
  if(ARG_QT)
    quillon_qt_warnings(${name})
  else()
    quillon_warnings(${name})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
  if(ARG_SERVER)
    quillon_server_tests(${name})
  endif()
endfunction()

# Registers the tests of an executable again for the test server: they find the server's
# template database in QUILLON_TEST_SERVER and need the fixture that starts the server.
function(quillon_server_tests name)
  if(QUILLON_SERVER_TESTS_ONLY AND NOT name IN_LIST QUILLON_SERVER_TESTS_ONLY)
    return()
  endif()
  if(QUILLON_SERVER_TESTS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "server."
      PROPERTIES TIMEOUT 600 FIXTURES_REQUIRED quillon_server
                 ENVIRONMENT "QUILLON_TEST_SERVER=${QUILLON_TEST_SERVER_URI}")
  endif()
endfunction()
