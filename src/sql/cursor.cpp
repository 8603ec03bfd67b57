#include "sql/result.h"

#include <sqlite3.h>

#include <string>

#include "automation/com_error.h"
#include "sql/database.h"
#include "sql/declared_type.h"

namespace quillon::sql {

namespace {

std::string text_or_empty(const char* s) {
  return s != nullptr ? std::string(s) : std::string();
}

}  // namespace

Cursor::Cursor(sqlite3_stmt* stmt, std::string_view statementText)
    : stmt_(stmt), statementStart_(statementText.substr(0, 120)) {
  const int n = sqlite3_column_count(stmt_);
  columns_.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    ColumnInfo info = describeDeclaredType(
        tsqlTypeFromDeclared(text_or_empty(sqlite3_column_decltype(stmt_, i))));
    info.name = text_or_empty(sqlite3_column_name(stmt_, i));
    info.table = text_or_empty(sqlite3_column_table_name(stmt_, i));
    info.column = text_or_empty(sqlite3_column_origin_name(stmt_, i));
    columns_.push_back(std::move(info));
  }
}

bool Cursor::next() {
  if (done_) return false;
  started_ = true;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) {
    hasRow_ = true;
    return true;
  }
  hasRow_ = false;
  done_ = true;
  if (rc != SQLITE_DONE) {
    sqlite3* db = sqlite3_db_handle(stmt_);
    throw automation::ComError(kSqlErrorNumber,
                               std::string(sqlite3_errmsg(db)) + " in: " + statementStart_);
  }
  return false;
}

void Cursor::checkColumn(std::size_t column) const {
  if (!hasRow_) {
    throw automation::ComError(kSqlErrorNumber,
                               "No current row: the cursor is before the first "
                               "or after the last row");
  }
  if (column >= columns_.size()) {
    throw automation::ComError(kSqlErrorNumber,
                               "Column index " + std::to_string(column) + " is out of range");
  }
}

ValueKind Cursor::kind(std::size_t column) const {
  checkColumn(column);
  switch (sqlite3_column_type(stmt_, static_cast<int>(column))) {
    case SQLITE_INTEGER:
      return ValueKind::Integer;
    case SQLITE_FLOAT:
      return ValueKind::Real;
    case SQLITE_TEXT:
      return ValueKind::Text;
    case SQLITE_BLOB:
      return ValueKind::Blob;
    default:
      return ValueKind::Null;
  }
}

std::int64_t Cursor::int64(std::size_t column) const {
  checkColumn(column);
  return sqlite3_column_int64(stmt_, static_cast<int>(column));
}

double Cursor::real(std::size_t column) const {
  checkColumn(column);
  return sqlite3_column_double(stmt_, static_cast<int>(column));
}

std::string_view Cursor::text(std::size_t column) const {
  checkColumn(column);
  const auto* p = sqlite3_column_text(stmt_, static_cast<int>(column));
  const int n = sqlite3_column_bytes(stmt_, static_cast<int>(column));
  if (p == nullptr) return {};
  return {reinterpret_cast<const char*>(p), static_cast<std::size_t>(n)};
}

std::span<const std::byte> Cursor::blob(std::size_t column) const {
  checkColumn(column);
  const void* p = sqlite3_column_blob(stmt_, static_cast<int>(column));
  const int n = sqlite3_column_bytes(stmt_, static_cast<int>(column));
  if (p == nullptr) return {};
  return {static_cast<const std::byte*>(p), static_cast<std::size_t>(n)};
}

}  // namespace quillon::sql
