# The engine boundary, checked over the sources: outside src/sql nothing includes an engine's own
# header (sql/sqlite/…, sql/pg/…, the engines' client headers) or the SQL layer's door to them
# (sql/storage.h), nothing decides by a location's text which engine holds an account, and above
# the ADO layer (which matches a connection string's provider to the engine) nothing names an
# engine at all. Every finding is printed as "file: line"; any finding fails the test.
#
#   cmake -DROOT=<source folder> -P engine_boundary.cmake
if(NOT ROOT)
  message(FATAL_ERROR "ROOT names the source folder")
endif()

file(GLOB_RECURSE files RELATIVE ${ROOT}
     ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/src/*.c
     ${ROOT}/apps/*.h ${ROOT}/apps/*.cpp
     ${ROOT}/db/*.h ${ROOT}/db/*.cpp)
list(SORT files)

set(engine_includes "#[ \t]*include[ \t]*[<\"](sql/sqlite/|sql/pg/|sql/storage\\.h|sqlite3\\.h|libpq-fe\\.h)")
# A server location's scheme written into code, or the old test of a location's text.
set(engine_decisions "\"postgres(ql)?://|isServerLocation|namesServer|storageOf")
set(engine_names "(sql::)?Engine::(SQLite|PostgreSQL)|\\.engine\\(\\)")

set(findings 0)
foreach(f IN LISTS files)
  if(f MATCHES "^src/sql/")
    continue()
  endif()
  set(patterns "${engine_includes}" "${engine_decisions}")
  if(NOT f MATCHES "^src/ado/")
    list(APPEND patterns "${engine_names}")
  endif()
  foreach(pattern IN LISTS patterns)
    file(STRINGS ${ROOT}/${f} hits REGEX "${pattern}")
    foreach(hit IN LISTS hits)
      string(STRIP "${hit}" hit)
      message("${f}: ${hit}")
      math(EXPR findings "${findings} + 1")
    endforeach()
  endforeach()
endforeach()

list(LENGTH files checked)
if(findings GREATER 0)
  message(FATAL_ERROR "${findings} crossings of the engine boundary in ${checked} files")
endif()
message("No file outside src/sql of ${checked} reaches past the engine interface")
