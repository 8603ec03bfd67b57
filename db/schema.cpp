#include "db/schema.h"

#include <string>

#include "automation/com_error.h"
#include "sql/database.h"

namespace quillon::db {

void applySchema(sql::Database& db) {
  db.begin();
  try {
    for (const SchemaFile& file : schemaFiles()) {
      try {
        db.execute(file.text);
      } catch (const automation::ComError& e) {
        throw automation::ComError(e.number(), std::string(file.name) + ": " + e.description());
      }
    }
    db.commit();
  } catch (...) {
    if (db.inTransaction()) db.rollback();
    throw;
  }
}

}  // namespace quillon::db
