#include <sqlite3.h>

#include <memory>
#include <string>

#include "sql/sqlite/declared_type.h"
#include "sql/sqlite/sqlite_database.h"

namespace quillon::sql {

namespace {

std::string text_or_empty(const char* s) {
  return s != nullptr ? std::string(s) : std::string();
}

}  // namespace

SqliteCursor::SqliteCursor(sqlite3_stmt* stmt, std::string_view statementText)
    : stmt_(stmt), statementStart_(statementText.substr(0, 120)) {
  // The first row is read before the columns are described: a statement prepared over a schema
  // another connection has changed since is prepared again by its first step, with the columns
  // its tables have now.
  const int rc = firstStep(stmt_);
  if (rc == SQLITE_ROW) {
    primed_ = true;
  } else {
    done_ = true;
    if (rc != SQLITE_DONE) raiseEngineError(sqlite3_db_handle(stmt_), statementStart_);
  }
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

std::unique_ptr<SqliteCursor> SqliteCursor::owning(sqlite3_stmt* stmt,
                                                   std::string_view statementText) {
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owned(stmt, sqlite3_finalize);
  auto cursor = std::make_unique<SqliteCursor>(stmt, statementText);
  cursor->owns_ = true;
  owned.release();
  return cursor;
}

SqliteCursor::~SqliteCursor() {
  if (owns_) sqlite3_finalize(stmt_);
}

bool SqliteCursor::next() {
  if (primed_) {
    primed_ = false;
    hasRow_ = true;
    return true;
  }
  if (done_) {
    hasRow_ = false;
    return false;
  }
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) {
    hasRow_ = true;
    return true;
  }
  hasRow_ = false;
  done_ = true;
  if (rc != SQLITE_DONE) raiseEngineError(sqlite3_db_handle(stmt_), statementStart_);
  return false;
}

ValueKind SqliteCursor::kind(std::size_t column) const {
  checkColumn(column, hasRow_);
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

std::int64_t SqliteCursor::int64(std::size_t column) const {
  checkColumn(column, hasRow_);
  return sqlite3_column_int64(stmt_, static_cast<int>(column));
}

double SqliteCursor::real(std::size_t column) const {
  checkColumn(column, hasRow_);
  return sqlite3_column_double(stmt_, static_cast<int>(column));
}

std::string_view SqliteCursor::text(std::size_t column) const {
  checkColumn(column, hasRow_);
  const auto* p = sqlite3_column_text(stmt_, static_cast<int>(column));
  const int n = sqlite3_column_bytes(stmt_, static_cast<int>(column));
  if (p == nullptr) return {};
  return {reinterpret_cast<const char*>(p), static_cast<std::size_t>(n)};
}

void SqliteCursor::readRow(std::span<CellView> out) const {
  if (!hasRow_) noCurrentRow(statementStart_);
  checkRowWidth(out);
  // The per-column calls each enter the connection's mutex; holding it for the whole row makes
  // those nested entries cheap and keeps the unprotected values below safe to read.
  sqlite3_mutex* mutex = sqlite3_db_mutex(sqlite3_db_handle(stmt_));
  sqlite3_mutex_enter(mutex);
  for (std::size_t i = 0; i < out.size(); ++i) {
    sqlite3_value* v = sqlite3_column_value(stmt_, static_cast<int>(i));
    CellView& cell = out[i];
    switch (sqlite3_value_type(v)) {
      case SQLITE_INTEGER:
        cell.kind = ValueKind::Integer;
        cell.integer = sqlite3_value_int64(v);
        break;
      case SQLITE_FLOAT:
        cell.kind = ValueKind::Real;
        cell.real = sqlite3_value_double(v);
        break;
      case SQLITE_TEXT: {
        cell.kind = ValueKind::Text;
        const auto* p = sqlite3_value_text(v);
        const int n = sqlite3_value_bytes(v);
        cell.text = p == nullptr ? std::string_view{}
                                 : std::string_view(reinterpret_cast<const char*>(p),
                                                    static_cast<std::size_t>(n));
        break;
      }
      case SQLITE_BLOB: {
        cell.kind = ValueKind::Blob;
        const void* p = sqlite3_value_blob(v);
        const int n = sqlite3_value_bytes(v);
        cell.text = p == nullptr ? std::string_view{}
                                 : std::string_view(static_cast<const char*>(p),
                                                    static_cast<std::size_t>(n));
        break;
      }
      default:
        cell.kind = ValueKind::Null;
        break;
    }
  }
  sqlite3_mutex_leave(mutex);
}

std::span<const std::byte> SqliteCursor::blob(std::size_t column) const {
  checkColumn(column, hasRow_);
  const void* p = sqlite3_column_blob(stmt_, static_cast<int>(column));
  const int n = sqlite3_column_bytes(stmt_, static_cast<int>(column));
  if (p == nullptr) return {};
  return {static_cast<const std::byte*>(p), static_cast<std::size_t>(n)};
}

}  // namespace quillon::sql
