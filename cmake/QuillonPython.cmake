# The Python package (python/quillon): pure Python over the C interface. `cmake --install` puts it
# in the folder the interpreter imports from for the install prefix (lib/python3/dist-packages
# for /usr on Debian, lib/python3.X/dist-packages for /usr/local; python/site_dir.py says which),
# with quillon/_install.py recording where the library it goes with was installed.
#
#   QUILLON_PYTHON        the interpreter the package is installed for and tested with: the
#                         distribution's /usr/bin/python3 (the one a Debian package's users run)
#                         when there is one, else the first python3 found
#   QUILLON_PYTHON_SITE   a folder relative to the prefix to put the package in instead
if(NOT QUILLON_PYTHON)
  if(EXISTS /usr/bin/python3)
    set(QUILLON_PYTHON_DEFAULT /usr/bin/python3)
  else()
    find_package(Python3 COMPONENTS Interpreter)
    set(QUILLON_PYTHON_DEFAULT "${Python3_EXECUTABLE}")
  endif()
endif()
set(QUILLON_PYTHON "${QUILLON_PYTHON_DEFAULT}" CACHE FILEPATH
    "The Python interpreter the quillon package is installed for and tested with")
set(QUILLON_PYTHON_SITE "" CACHE STRING
    "Where the quillon package goes, relative to the prefix (empty: where QUILLON_PYTHON looks)")

file(GLOB QUILLON_PYTHON_FILES ${PROJECT_SOURCE_DIR}/python/quillon/*.py)
list(APPEND QUILLON_PYTHON_FILES ${PROJECT_SOURCE_DIR}/python/quillon/py.typed)

# At install time, when the prefix is known (cpack installs to /usr, `make install` to PREFIX).
install(CODE "
  set(QUILLON_PYTHON \"${QUILLON_PYTHON}\")
  set(QUILLON_PYTHON_SITE \"${QUILLON_PYTHON_SITE}\")
  set(QUILLON_PYTHON_SITE_SCRIPT \"${PROJECT_SOURCE_DIR}/python/site_dir.py\")
  set(QUILLON_PYTHON_FILES \"${QUILLON_PYTHON_FILES}\")
  set(QUILLON_PYTHON_STAGE \"${PROJECT_BINARY_DIR}/python-install\")
  set(QUILLON_LIBRARY_INSTALLED
      \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/$<TARGET_SONAME_FILE_NAME:quillon_capi>\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/QuillonPythonInstall.cmake\")
")
