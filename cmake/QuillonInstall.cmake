# What `cmake --install` puts where (GNUInstallDirs):
#   bin/quillon                                  the command
#   libexec/quillon/quillon-desktop              the command's drawing half (with the dialogs)
#   lib/libquillon.so*                           the library with its C interface (src/capi)
#   include/quillon/quillon.h                    the C interface
#   include/quillon/<layer>/*.h                  the public C++ headers (QUILLON_PUBLIC_HEADERS)
#   lib/cmake/Quillon/                           find_package(Quillon): Quillon::quillon
#   lib/pkgconfig/quillon.pc                     pkg-config quillon
#   share/quillon/schema/*.sql                   the account-database schema (`quillon init-db`
#                                                builds the demo account from it)
#   share/doc/quillon/                           README, docs, examples (host scripts, hosts/)
include(CMakePackageConfigHelpers)

# The C++ headers a host may include, relative to src/: the automation runtime (values, late-bound
# dispatch, collections, errors, the class registry), data access (connections, recordsets,
# fields, and the engine types they hold), the registration of every public class and the suite's
# login object. Each compiles on its own against the installed tree (tests/packaging). The other
# headers are the library's own.
set(QUILLON_PUBLIC_HEADERS
  automation/class_registry.h
  automation/collection.h
  automation/com_error.h
  automation/dispatch.h
  automation/error_info.h
  automation/variant.h
  ado/block_pool.h
  ado/chunked.h
  ado/column.h
  ado/connection.h
  ado/criteria.h
  ado/data_type.h
  ado/fields.h
  ado/record_data.h
  ado/recordset.h
  ado/recordset_core.h
  ado/sort_order.h
  sql/column_types.h
  sql/database.h
  sql/program.h
  sql/result.h
  sql/sql_error.h
  sql/translator.h
  classes/public_classes.h
  components/marlin_login.h
  components/registration.h
  components/suite/login.h
)
set(QUILLON_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/quillon)
set(QUILLON_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quillon)
set(QUILLON_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS quillon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quillon-desktop)
  # What `quillon` runs for the commands that draw (apps/quillon/desktop.h).
  install(TARGETS quillon-desktop RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/quillon)
endif()
install(TARGETS quillon_capi EXPORT QuillonTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${QUILLON_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/src/capi/quillon.h DESTINATION ${QUILLON_INSTALL_INCLUDEDIR})
foreach(header IN LISTS QUILLON_PUBLIC_HEADERS)
  get_filename_component(dir ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/src/${header} DESTINATION ${QUILLON_INSTALL_INCLUDEDIR}/${dir})
endforeach()

# The CMake package.
install(EXPORT QuillonTargets NAMESPACE Quillon:: DESTINATION ${QUILLON_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuillonConfig.cmake.in
  ${PROJECT_BINARY_DIR}/packaging/QuillonConfig.cmake
  INSTALL_DESTINATION ${QUILLON_INSTALL_CMAKEDIR}
  PATH_VARS QUILLON_INSTALL_INCLUDEDIR CMAKE_INSTALL_DATADIR CMAKE_INSTALL_DOCDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/packaging/QuillonConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/packaging/QuillonConfig.cmake
              ${PROJECT_BINARY_DIR}/packaging/QuillonConfigVersion.cmake
        DESTINATION ${QUILLON_INSTALL_CMAKEDIR})

# The pkg-config file finds its prefix from where it lies, so an install to any --prefix (or a
# DESTDIR) works as it is.
file(RELATIVE_PATH QUILLON_PC_TO_PREFIX /${QUILLON_INSTALL_PKGCONFIGDIR} /)
string(REGEX REPLACE "/$" "" QUILLON_PC_TO_PREFIX "${QUILLON_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/quillon.pc.in ${PROJECT_BINARY_DIR}/packaging/quillon.pc
               @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/quillon.pc DESTINATION ${QUILLON_INSTALL_PKGCONFIGDIR})

# The schema, the documentation and the examples.
file(GLOB QUILLON_INSTALL_SCHEMA ${PROJECT_SOURCE_DIR}/db/schema/*.sql)
install(FILES ${QUILLON_INSTALL_SCHEMA} ${PROJECT_SOURCE_DIR}/db/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillon/schema)
file(GLOB QUILLON_INSTALL_DOCS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${QUILLON_INSTALL_DOCS}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB QUILLON_INSTALL_EXAMPLES ${PROJECT_SOURCE_DIR}/examples/*.qhs
     ${PROJECT_SOURCE_DIR}/examples/README.md)
install(FILES ${QUILLON_INSTALL_EXAMPLES} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
if(EXISTS ${PROJECT_SOURCE_DIR}/examples/hosts)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/hosts DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
endif()
