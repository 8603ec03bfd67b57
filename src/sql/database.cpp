#include "sql/database.h"

#include <sqlite3.h>

#include <string>

#include "automation/com_error.h"

namespace quillon::sql {

namespace {

[[noreturn]] void fail(sqlite3* db, std::string_view statement) {
  std::string text = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
  if (!statement.empty()) {
    text += " in: ";
    text += statement.substr(0, 120);
  }
  throw automation::ComError(kSqlErrorNumber, text);
}

struct StatementGuard {
  sqlite3_stmt* stmt = nullptr;
  ~StatementGuard() { sqlite3_finalize(stmt); }
};

}  // namespace

std::unique_ptr<Database> Database::open(const std::string& path, OpenMode mode) {
  int flags = SQLITE_OPEN_URI;
  switch (mode) {
    case OpenMode::CreateIfMissing:
      flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
      break;
    case OpenMode::OpenExisting:
      flags |= SQLITE_OPEN_READWRITE;
      break;
    case OpenMode::ReadOnly:
      flags |= SQLITE_OPEN_READONLY;
      break;
  }
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string text = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close_v2(db);
    throw automation::ComError(kSqlErrorNumber, "Cannot open database '" + path + "': " + text);
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, 5000);
  return std::unique_ptr<Database>(new Database(db, path));
}

Database::Database(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

Database::~Database() {
  sqlite3_close_v2(db_);
}

void Database::execute(std::string_view tsqlBatch, ResultHandler& handler) {
  std::string_view rest = tsqlBatch;
  while (!rest.empty()) {
    StatementGuard guard;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, rest.data(), static_cast<int>(rest.size()), &guard.stmt, &tail) !=
        SQLITE_OK) {
      fail(db_, rest);
    }
    const std::string_view text = rest.substr(0, static_cast<std::size_t>(tail - rest.data()));
    rest.remove_prefix(text.size());
    if (guard.stmt == nullptr) continue;
    if (sqlite3_column_count(guard.stmt) > 0) {
      Cursor cursor(guard.stmt, text);
      handler.onResultSet(cursor);
    } else {
      const int rc = sqlite3_step(guard.stmt);
      if (rc != SQLITE_DONE && rc != SQLITE_ROW) fail(db_, text);
      handler.onRowsAffected(sqlite3_changes64(db_));
    }
  }
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

void Database::begin() {
  execute("BEGIN");
}
void Database::commit() {
  execute("COMMIT");
}
void Database::rollback() {
  execute("ROLLBACK");
}
bool Database::inTransaction() const {
  return sqlite3_get_autocommit(db_) == 0;
}
std::int64_t Database::changes() const {
  return sqlite3_changes64(db_);
}
std::int64_t Database::lastInsertRowId() const {
  return sqlite3_last_insert_rowid(db_);
}
void Database::setBusyTimeout(int milliseconds) {
  sqlite3_busy_timeout(db_, milliseconds);
}

}  // namespace quillon::sql
