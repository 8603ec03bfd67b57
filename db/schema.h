// The account-database schema: the T-SQL files of db/schema, compiled into the library, and
// applying them to a database through the dialect layer.
#pragma once

#include <string_view>
#include <vector>

namespace quillon::sql {
class Database;
}

namespace quillon::db {

struct SchemaFile {
  std::string_view name;  // "01_system.sql"
  std::string_view text;  // the file's T-SQL, batches separated by GO lines
};

// Every schema file, in the order they are applied.
const std::vector<SchemaFile>& schemaFiles();

// Creates every table, index and view on an empty database. A failing statement throws the
// engine's error prefixed with the file name; nothing is left half-applied because the whole
// schema runs in one transaction.
void applySchema(sql::Database& db);
// The same inside the caller's transaction.
void applySchemaStatements(sql::Database& db);

}  // namespace quillon::db
