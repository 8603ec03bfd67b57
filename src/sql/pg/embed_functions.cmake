# Writes the server function script (pg_functions.sql) into one C++ source as a raw string
# literal: -DIN=<script> -DOUT=<source>.
file(READ ${IN} content)
file(WRITE ${OUT} "// Generated from src/sql/pg/pg_functions.sql; do not edit.\n#include \"sql/pg/pg_functions.h\"\n\nnamespace quillon::sql {\n\nconst char* serverFunctionsScript() {\n  return R\"qsql(${content})qsql\";\n}\n\n}  // namespace quillon::sql\n")
