#include "sql/database.h"

#include <string>

#ifdef QUILLON_SERVER_ENGINE
#include "sql/pg/pg_database.h"
#endif
#include "sql/sqlite/sqlite_database.h"

namespace quillon::sql {

bool isServerLocation(std::string_view location) {
  return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

std::unique_ptr<Database> Database::open(const std::string& location, OpenMode mode,
                                         int busyTimeoutMs) {
  if (isServerLocation(location)) {
#ifdef QUILLON_SERVER_ENGINE
    return PgDatabase::open(location, mode, busyTimeoutMs);
#else
    throw SqlError::noServerEngine();
#endif
  }
  return SqliteDatabase::open(location, mode, busyTimeoutMs);
}

Database::Database(std::string path, Dialect dialect)
    : path_(std::move(path)), translator_(512, dialect) {}

Database::~Database() = default;

void Database::execute(std::string_view tsqlBatch, ResultHandler& handler) {
  const auto program = translator_.translate(tsqlBatch);
  run(*program, handler);
}

std::int64_t Database::execute(std::string_view tsqlBatch) {
  CollectingHandler handler;
  execute(tsqlBatch, handler);
  return handler.rowsAffected;
}

std::vector<ResultSet> Database::query(std::string_view tsqlBatch) {
  CollectingHandler handler;
  execute(tsqlBatch, handler);
  return std::move(handler.results);
}

}  // namespace quillon::sql
