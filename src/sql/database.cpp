#include "sql/database.h"

#include <string>

#include "sql/storage.h"

namespace quillon::sql {

std::unique_ptr<Database> Database::open(const std::string& location, OpenMode mode,
                                         int busyTimeoutMs) {
  return storageOf(location).open(location, mode, busyTimeoutMs);
}

Database::Database(std::string path, Engine engine)
    : path_(std::move(path)), translator_(512, engine) {}

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
