# `make package`: a Debian package of what `cmake --install` installs, under /usr (the Python
# package included).
# Its dependencies are declared here rather than worked out by dpkg-shlibdeps, so that the
# package names what the library needs at run time (the SQLite engine, the server's client
# library libpq when the server engine is built in, Qt 6 Widgets with its
# platform plugins, and a font with Chinese glyphs, which no shared-library link shows).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillon developers <quillon@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "inventory module reference library of an ERP suite, its quillon command and C interface")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(QUILLON_DEB_DEPENDS "libc6, libstdc++6, libgcc-s1, libsqlite3-0 (>= 3.31)")
if(LIBPQ_FOUND)
  string(APPEND QUILLON_DEB_DEPENDS ", libpq5")
endif()
if(QUILLON_UI)
  string(APPEND QUILLON_DEB_DEPENDS
         ", libqt6core6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6widgets6 (>= 6.2), qt6-qpa-plugins"
         ", fonts-noto-cjk")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${QUILLON_DEB_DEPENDS}")
# The Python package (/usr/lib/python3/dist-packages/quillon) is there for those who have Python;
# the library and the command need none.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3")
# The shared library's SONAME for ldconfig.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
