# Part of `cmake --install` (see QuillonPython.cmake): the quillon package into the site folder
# for CMAKE_INSTALL_PREFIX, and _install.py naming the library installed with it.
set(site "${QUILLON_PYTHON_SITE}")
if(NOT site AND QUILLON_PYTHON)
  execute_process(COMMAND "${QUILLON_PYTHON}" "${QUILLON_PYTHON_SITE_SCRIPT}"
                          "${CMAKE_INSTALL_PREFIX}"
                  OUTPUT_VARIABLE site OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${QUILLON_PYTHON} could not say where Python packages go: ${failed}")
  endif()
endif()
if(NOT site)
  set(site lib/python3/dist-packages)
endif()
# One folder per destination: cpack and `cmake --install` may run at once from one build.
string(MD5 destination "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(stage "${QUILLON_PYTHON_STAGE}/${destination}")
file(MAKE_DIRECTORY "${stage}")
file(WRITE "${stage}/_install.py"
     "\"\"\"Written by `make install`: the library this package was installed with.\"\"\"\n"
     "LIBRARY = \"${QUILLON_LIBRARY_INSTALLED}\"\n")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${site}/quillon" TYPE FILE
     FILES ${QUILLON_PYTHON_FILES} "${stage}/_install.py")
