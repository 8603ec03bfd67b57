#include "db/demo_loader.h"

#include <sqlite3.h>

#include "automation/com_error.h"
#include "sql/database.h"

namespace quillon::db {

namespace {

[[noreturn]] void fail(sqlite3* db, std::string_view table) {
  throw automation::ComError(sql::kSqlErrorNumber,
                             "demo data, table " + std::string(table) + ": " + sqlite3_errmsg(db));
}

}  // namespace

Loader::~Loader() {
  for (auto& [key, stmt] : statements_) sqlite3_finalize(stmt);
}

void Loader::insert(std::string_view table, std::initializer_list<Field> fields) {
  insertRange(table, fields.begin(), fields.end());
}

void Loader::insert(std::string_view table, const std::vector<Field>& fields) {
  insertRange(table, fields.data(), fields.data() + fields.size());
}

sqlite3_stmt* Loader::statementFor(std::string_view table, const Field* begin, const Field* end) {
  key_.assign(table);
  for (const Field* f = begin; f != end; ++f) {
    key_ += ',';
    key_ += f->column;
  }
  if (auto it = statements_.find(key_); it != statements_.end()) return it->second;

  std::string sql = "INSERT INTO " + std::string(table) + " (";
  std::string marks;
  for (const Field* f = begin; f != end; ++f) {
    if (f != begin) {
      sql += ", ";
      marks += ", ";
    }
    sql += f->column;
    marks += '?';
  }
  sql += ") VALUES (" + marks + ")";
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &stmt, nullptr) != SQLITE_OK) {
    fail(db_, table);
  }
  statements_.emplace(key_, stmt);
  return stmt;
}

void Loader::insertRange(std::string_view table, const Field* begin, const Field* end) {
  sqlite3_stmt* stmt = statementFor(table, begin, end);
  int index = 1;
  for (const Field* f = begin; f != end; ++f, ++index) {
    const Cell& v = f->value;
    switch (v.kind()) {
      case Cell::Kind::Null:
        sqlite3_bind_null(stmt, index);
        break;
      case Cell::Kind::Integer:
        sqlite3_bind_int64(stmt, index, v.integer());
        break;
      case Cell::Kind::Real:
        sqlite3_bind_double(stmt, index, v.real());
        break;
      case Cell::Kind::Text:
        sqlite3_bind_text(stmt, index, v.text().data(), static_cast<int>(v.text().size()),
                          SQLITE_STATIC);
        break;
    }
  }
  const int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) {
    const std::string text = sqlite3_errmsg(db_);
    sqlite3_reset(stmt);
    throw automation::ComError(sql::kSqlErrorNumber,
                               "demo data, table " + std::string(table) + ": " + text);
  }
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  countRow(table);
}

void Loader::countRow(std::string_view table) {
  if (!counts_.empty() && counts_.back().first == table) {
    ++counts_.back().second;
    return;
  }
  for (auto& [name, n] : counts_) {
    if (name == table) {
      ++n;
      return;
    }
  }
  counts_.emplace_back(std::string(table), 1);
}

}  // namespace quillon::db
