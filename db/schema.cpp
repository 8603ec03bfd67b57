#include "db/schema.h"

#include <string>

#include "automation/com_error.h"
#include "sql/database.h"

namespace quillon::db {

void applySchemaStatements(sql::Database& db) {
  for (const SchemaFile& file : schemaFiles()) {
    try {
      db.execute(file.text);
    } catch (const automation::ComError& e) {
      throw automation::ComError(e.number(), std::string(file.name) + ": " + e.description());
    }
  }
}

void applySchema(sql::Database& db) {
  db.begin();
  try {
    applySchemaStatements(db);
    db.commit();
  } catch (...) {
    if (db.inTransaction()) db.rollback();
    throw;
  }
}

}  // namespace quillon::db
