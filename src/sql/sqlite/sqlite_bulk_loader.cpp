// Bulk loads on the embedded engine: one INSERT per table and column list, prepared once and
// bound for every row.
#include <sqlite3.h>

#include <map>
#include <string>

#include "sql/sql_error.h"
#include "sql/sql_text.h"
#include "sql/sqlite/sqlite_database.h"

namespace quillon::sql {

namespace {

class SqliteBulkLoader final : public BulkLoader {
 public:
  explicit SqliteBulkLoader(sqlite3* db) : db_(db) {}
  ~SqliteBulkLoader() override {
    for (auto& [key, stmt] : statements_) sqlite3_finalize(stmt);
  }
  SqliteBulkLoader(const SqliteBulkLoader&) = delete;
  SqliteBulkLoader& operator=(const SqliteBulkLoader&) = delete;

  void insert(std::string_view table, std::span<const std::string_view> columns,
              std::span<const CellView> values) override {
    sqlite3_stmt* stmt = statementFor(table, columns);
    int index = 1;
    for (const CellView& v : values) {
      switch (v.kind) {
        case ValueKind::Null:
          sqlite3_bind_null(stmt, index);
          break;
        case ValueKind::Integer:
          sqlite3_bind_int64(stmt, index, v.integer);
          break;
        case ValueKind::Real:
          sqlite3_bind_double(stmt, index, v.real);
          break;
        case ValueKind::Text:
          sqlite3_bind_text(stmt, index, v.text.data(), static_cast<int>(v.text.size()),
                            SQLITE_STATIC);
          break;
        case ValueKind::Blob:
          sqlite3_bind_blob(stmt, index, v.text.data(), static_cast<int>(v.text.size()),
                            SQLITE_STATIC);
          break;
      }
      ++index;
    }
    if (sqlite3_step(stmt) != SQLITE_DONE) {
      const std::string text = sqlite3_errmsg(db_);
      sqlite3_reset(stmt);
      sqlite3_clear_bindings(stmt);
      fail(table, text);
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
  }

  void finish() override {}

 private:
  [[noreturn]] static void fail(std::string_view table, const std::string& text) {
    throw SqlError::loadFailed(table, text);
  }

  sqlite3_stmt* statementFor(std::string_view table, std::span<const std::string_view> columns) {
    key_.assign(table);
    for (std::string_view c : columns) {
      key_ += ',';
      key_ += c;
    }
    if (auto it = statements_.find(key_); it != statements_.end()) return it->second;
    std::string sql = "INSERT INTO " + quoteName(table) + " (";
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i > 0) {
        sql += ", ";
        marks += ", ";
      }
      sql += quoteName(columns[i]);
      marks += '?';
    }
    sql += ") VALUES (" + marks + ")";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                           SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
      const std::string text = sqlite3_errmsg(db_);
      sqlite3_finalize(stmt);
      fail(table, text);
    }
    statements_.emplace(key_, stmt);
    return stmt;
  }

  sqlite3* db_;
  std::map<std::string, sqlite3_stmt*, std::less<>> statements_;
  std::string key_;
};

}  // namespace

std::unique_ptr<BulkLoader> SqliteDatabase::makeBulkLoader() {
  return std::make_unique<SqliteBulkLoader>(db_);
}

}  // namespace quillon::sql
