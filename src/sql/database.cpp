#include "sql/database.h"

#include <string>

#include "automation/com_error.h"
#include "sql/sqlite_database.h"

namespace quillon::sql {

void refuseNesting(std::string_view what) {
  throw automation::ComError(kSqlErrorNumber, std::string(kNestedTooDeeplyText) + " (" +
                                                  std::string(what) + " nested deeper than " +
                                                  std::to_string(kMaxNesting) + " levels)");
}

bool isServerLocation(std::string_view location) {
  return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

std::unique_ptr<Database> Database::open(const std::string& location, OpenMode mode,
                                         int busyTimeoutMs) {
  return SqliteDatabase::open(location, mode, busyTimeoutMs);
}

Database::Database(std::string path) : path_(std::move(path)) {}

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
