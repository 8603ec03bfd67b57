#include "sql/sqlite/sqlite_database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <array>
#include <exception>
#include <string>
#include <vector>

#include "sql/sql_error.h"
#include "sql/sql_text.h"
#include "sql/sqlite/declared_type.h"
#include "sql/sqlite/functions.h"
#include "sql/sqlite/view_dml.h"
#include "sql/token.h"

namespace quillon::sql {

namespace {

// Opens the comment of a view's route trigger that holds, in hexadecimal, the statement deleting
// the rows the route wrote.
constexpr const char* kForgetMark = "/*forget:";

std::string toHex(std::string_view text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size() * 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
  }
  return out;
}

std::string fromHex(std::string_view hex) {
  const auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1]));
  return out;
}

// What a transaction begins with: the write lock at once, so that it waits for another desk's
// transaction here, under the busy timeout, rather than failing at its first write (a deferred
// transaction that has read cannot wait for the lock: the engine refuses it to avoid deadlock).
constexpr const char* kBeginWriting = "BEGIN IMMEDIATE";
constexpr const char* kBeginReading = "BEGIN";

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql, std::string_view source) {
    if (!prepare(db, sql)) raiseEngineError(db, source);
  }
  // Prepares without throwing; ok() tells whether it worked.
  Statement(sqlite3* db, const std::string& sql) { prepare(db, sql); }
  bool ok() const { return stmt_ != nullptr; }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }

 private:
  bool prepare(sqlite3* db, const std::string& sql) {
    if (prepareStatement(db, sql, &stmt_) == SQLITE_OK) return true;
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return false;
  }

  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

namespace {

// The error for the engine's last failure on `db`, described by `text`.
SqlError engineError(sqlite3* db, const std::string& text) {
  if (db != nullptr && (sqlite3_extended_errcode(db) & 0xFF) == SQLITE_BUSY)
    return SqlError::busy(text);
  return SqlError::statementFailed(text);
}

}  // namespace

sqlite3* sqliteHandle(const Database& db) {
  const auto* embedded = dynamic_cast<const SqliteDatabase*>(&db);
  return embedded != nullptr ? embedded->handle() : nullptr;
}

namespace {
// As many tries as the engine gives a statement whose schema changed while it ran.
constexpr int kSchemaTries = 50;
}  // namespace

int prepareStatement(sqlite3* db, const std::string& sql, sqlite3_stmt** stmt) {
  for (int attempt = 1;; ++attempt) {
    *stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), stmt, nullptr);
    if (rc == SQLITE_OK || (rc & 0xFF) != SQLITE_SCHEMA || attempt == kSchemaTries) return rc;
    sqlite3_finalize(*stmt);
  }
}

int firstStep(sqlite3_stmt* stmt) {
  for (int attempt = 1;; ++attempt) {
    const int rc = sqlite3_step(stmt);
    if ((rc & 0xFF) != SQLITE_SCHEMA || attempt == kSchemaTries) return rc;
    sqlite3_reset(stmt);
  }
}

void readCurrentSchema(sqlite3* db) {
  // A statement on the main schema compares the file's schema version with the one read last,
  // and has the schema read again when they differ.
  const Statement probe(db, "SELECT 1 FROM main.sqlite_master LIMIT 1");
  if (probe.ok()) sqlite3_step(probe.get());
}

void raiseEngineError(sqlite3* db, std::string_view statement) {
  std::string text = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
  if (!statement.empty()) {
    text += " in: ";
    text += statement.substr(0, 200);
  }
  throw engineError(db, text);
}

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const std::string& path, OpenMode mode,
                                                     int busyTimeoutMs) {
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
  int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_extended_result_codes(db, 1);
    // Before anything reads the file: the catalogue views below already read its schema.
    sqlite3_busy_timeout(db, busyTimeoutMs > 0 ? busyTimeoutMs : 0);
    // Pages are read from a mapping of the file rather than copied in by a system call each: a
    // list over a large account reads tens of thousands of them (a file beyond the limit is read
    // the usual way past it).
    sqlite3_exec(db, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr);
    if (!registerServerFunctions(db)) rc = sqlite3_extended_errcode(db);
  }
  if (rc != SQLITE_OK) {
    const std::string text = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    SqlError error = engineError(db, "Cannot open database '" + path + "': " + text);
    sqlite3_close_v2(db);
    throw error;
  }
  return std::unique_ptr<SqliteDatabase>(new SqliteDatabase(db, path, mode == OpenMode::ReadOnly));
}

namespace {

std::optional<std::pair<std::uint64_t, std::uint64_t>> fileAt(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return std::pair<std::uint64_t, std::uint64_t>(st.st_dev, st.st_ino);
}

}  // namespace

SqliteDatabase::SqliteDatabase(sqlite3* db, std::string path, bool readOnly)
    : Database(std::move(path), Engine::SQLite), db_(db), readOnly_(readOnly) {
  // A plain file path (not ":memory:", not a URI): the file the engine has just opened.
  if (this->path().rfind("file:", 0) != 0) file_ = fileAt(this->path());
  translator().readSchemaWith([this] { return currentSchema(); });
}

const SchemaTypes* SqliteDatabase::currentSchema() {
  static constexpr std::array<const char*, 2> kVersions{"PRAGMA main.schema_version",
                                                        "PRAGMA temp.schema_version"};
  std::int64_t versions[2] = {-1, -1};
  for (std::size_t i = 0; i < 2; ++i) {
    sqlite3_stmt*& q = versionQueries_[i];
    if (q == nullptr && sqlite3_prepare_v2(db_, kVersions[i], -1, &q, nullptr) != SQLITE_OK) {
      sqlite3_finalize(q);
      q = nullptr;
      return nullptr;
    }
    const bool row = sqlite3_step(q) == SQLITE_ROW;
    if (row) versions[i] = sqlite3_column_int64(q, 0);
    sqlite3_reset(q);
    if (!row) return nullptr;
  }
  if (versions[0] == schemaVersions_[0] && versions[1] == schemaVersions_[1]) return &schema_;
  // Each table's columns with their declared types; tables that kept theirs are shared with the
  // schema read before, so that translations of statements over them stay cached.
  SchemaTypes fresh;
  for (const char* schema : {"main", "temp"}) {
    const std::string sql = std::string("SELECT m.name, p.name, p.type FROM ") + schema +
                            ".sqlite_master m, pragma_table_info(m.name, '" + schema +
                            "') p WHERE m.type IN ('table', 'view') ORDER BY m.name, p.cid";
    sqlite3_stmt* q = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &q, nullptr) != SQLITE_OK) {
      sqlite3_finalize(q);
      return nullptr;
    }
    std::string table;
    SchemaTypes::Columns columns;
    const auto text = [&](int c) {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(q, c));
      return p != nullptr ? std::string(p) : std::string();
    };
    int rc;
    while ((rc = sqlite3_step(q)) == SQLITE_ROW) {
      std::string name = asciiLower(text(0));
      if (name != table) {
        if (!table.empty()) fresh.add(std::move(table), std::move(columns), &schema_);
        table = std::move(name);
        columns = {};
      }
      const std::string tsql = tsqlTypeFromDeclared(text(2));
      columns.emplace(asciiLower(text(1)), valueTypeOf(tsql.substr(0, tsql.find('('))));
    }
    sqlite3_finalize(q);
    if (rc != SQLITE_DONE) return nullptr;
    if (!table.empty()) fresh.add(std::move(table), std::move(columns), &schema_);
  }
  schema_ = std::move(fresh);
  schemaVersions_[0] = versions[0];
  schemaVersions_[1] = versions[1];
  return &schema_;
}

bool SqliteDatabase::resetSession(const std::string& location) {
  if (!durable_ || !file_ || location != path() || fileAt(location) != file_) return false;
  try {
    rollback();
    // Temporary tables (and their indexes and triggers) end with the session.
    std::vector<std::string> tables;
    {
      Statement list(db_, "SELECT name FROM temp.sqlite_master WHERE type = 'table'");
      if (!list.ok()) return false;
      while (sqlite3_step(list.get()) == SQLITE_ROW) {
        const unsigned char* name = sqlite3_column_text(list.get(), 0);
        if (name != nullptr) tables.emplace_back(reinterpret_cast<const char*>(name));
      }
    }
    for (const std::string& table : tables) {
      const std::string drop = "DROP TABLE temp." + quoteName(table);
      if (sqlite3_exec(db_, drop.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    }
    readCurrentSchema(db_);
    // The schema version queries are prepared again when next needed: a kept session holds no
    // statement.
    for (sqlite3_stmt*& q : versionQueries_) {
      sqlite3_finalize(q);
      q = nullptr;
    }
    return sqlite3_get_autocommit(db_) != 0 && sqlite3_next_stmt(db_, nullptr) == nullptr;
  } catch (const std::exception&) {
    return false;
  }
}

SqliteDatabase::~SqliteDatabase() {
  finishPendingReadQuietly();
  for (sqlite3_stmt* q : versionQueries_) sqlite3_finalize(q);
  sqlite3_close_v2(db_);
}

void SqliteDatabase::run(const Program& program, ResultHandler& handler) {
  for (const Op& op : program) runOne(op, handler);
}

void SqliteDatabase::runOne(const Op& op, ResultHandler& handler) {
  switch (op.kind) {
    case Op::Kind::Noop:
      return;
    case Op::Kind::SelectInto:
      selectInto(op, handler);
      return;
    case Op::Kind::DropTable:
      dropTable(op, handler);
      return;
    case Op::Kind::If: {
      bool holds = false;
      {
        // The condition's statement must be finished before the guarded statement runs: an open
        // read of the catalogue would lock the table that the statement drops.
        Statement cond(db_, op.sql, op.source);
        const int rc = firstStep(cond.get());
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) raiseEngineError(db_, op.source);
        holds = rc == SQLITE_ROW && sqlite3_column_int64(cond.get(), 0) != 0;
      }
      run(holds ? op.body : op.elseBody, handler);
      return;
    }
    case Op::Kind::Exec: {
      // A batch's own "begin tran" begins as begin() does.
      const bool begins = op.sql == kBeginReading;
      Statement stmt(db_, begins && !readOnly_ ? std::string(kBeginWriting) : op.sql);
      if (!stmt.ok()) {
        // The engine does not change views; the server changes the view's base table.
        if (isViewChangeRefusal(sqlite3_errmsg(db_))) {
          Op onTable = op;
          onTable.sql = rewriteViewChange(db_, op.sql);
          if (!onTable.sql.empty()) return runOne(onTable, handler);
          Statement again(db_, op.sql, op.source);  // the engine's own error
        }
        raiseEngineError(db_, op.source);
      }
      if (sqlite3_column_count(stmt.get()) > 0) {
        SqliteCursor cursor(stmt.get(), op.source);
        handler.onResultSet(cursor);
        return;
      }
      // The engine's count of changed rows stays from the last statement that changed any, so
      // it is this statement's only when the total moved. A work table's rows change through its
      // view's INSTEAD OF trigger, which the engine does not count as the statement's own; the
      // trigger writes its sums once for each row, so those writes are the rows it changed.
      const std::int64_t before = sqlite3_total_changes64(db_);
      const int rc = firstStep(stmt.get());
      if (rc != SQLITE_DONE && rc != SQLITE_ROW) raiseEngineError(db_, op.source);
      const std::int64_t moved = sqlite3_total_changes64(db_) - before;
      const std::int64_t own = moved != 0 ? sqlite3_changes64(db_) : 0;
      handler.onRowsAffected(moved != 0 && own == 0 ? moved : own);
      return;
    }
  }
}

std::unique_ptr<Cursor> SqliteDatabase::openQuery(const Op& op, std::size_t /*firstRows*/) {
  if (op.sql == kBeginReading) return nullptr;
  sqlite3_stmt* stmt = nullptr;
  // Whatever does not prepare, or is no query, runs through execute, which says what is wrong.
  if (prepareStatement(db_, op.sql, &stmt) != SQLITE_OK || sqlite3_column_count(stmt) == 0 ||
      sqlite3_stmt_readonly(stmt) == 0) {
    sqlite3_finalize(stmt);
    return nullptr;
  }
  return SqliteCursor::owning(stmt, op.source);
}

// SELECT … INTO: the new table takes the result's column names and, where a column comes
// straight from a table, its declared type, so that decimals stay real and text stays text.
void SqliteDatabase::selectInto(const Op& op, ResultHandler& handler) {
  std::string create = "CREATE TABLE " + op.target + " (";
  {
    readCurrentSchema(db_);
    Statement probe(db_, op.sql, op.source);
    const int n = sqlite3_column_count(probe.get());
    for (int i = 0; i < n; ++i) {
      const char* name = sqlite3_column_name(probe.get(), i);
      const char* decl = sqlite3_column_decltype(probe.get(), i);
      if (i > 0) create += ", ";
      create += quoteName(name != nullptr ? name : "");
      if (decl != nullptr && *decl != 0) {
        const std::string tsql = tsqlTypeFromDeclared(decl);
        const std::string engine = engineDeclaredType(tsql);
        create += " " + (engine.empty() ? std::string(decl) : engine);
        const std::string collation = collationClause(describeDeclaredType(tsql).baseType);
        if (!collation.empty()) create += " " + collation;
      }
    }
  }
  create += ")";
  Op make;
  make.kind = Op::Kind::Exec;
  make.sql = create;
  make.source = op.source;
  CollectingHandler ignore;
  runOne(make, ignore);
  Op fill;
  fill.kind = Op::Kind::Exec;
  fill.sql = "INSERT INTO " + op.target + " " + op.sql;
  fill.source = op.source;
  runOne(fill, handler);
}

void SqliteDatabase::beginTransaction() {
  Statement stmt(db_, readOnly_ ? kBeginReading : kBeginWriting, "BEGIN TRANSACTION");
  if (sqlite3_step(stmt.get()) != SQLITE_DONE) raiseEngineError(db_, "BEGIN TRANSACTION");
}
// Ending a transaction is the engine's own work, as beginning one is: it runs past the statement
// observer, which sees the batches callers send (the server ends its transactions the same way).
void SqliteDatabase::commitTransaction() {
  CollectingHandler ignore;
  run(*translate("COMMIT TRANSACTION"), ignore);
}
void SqliteDatabase::rollbackTransaction() {
  if (!inTransaction()) return;
  CollectingHandler ignore;
  run(*translate("ROLLBACK TRANSACTION"), ignore);
}
bool SqliteDatabase::inTransaction() const {
  return sqlite3_get_autocommit(db_) == 0;
}
std::int64_t SqliteDatabase::changes() const {
  return sqlite3_changes64(db_);
}
std::int64_t SqliteDatabase::lastInsertRowId() const {
  return sqlite3_last_insert_rowid(db_);
}
std::vector<std::string> SqliteDatabase::checkIntegrity(int limit) {
  Statement check(db_, "PRAGMA integrity_check(" + std::to_string(limit > 0 ? limit : 1) + ")",
                  "integrity check");
  std::vector<std::string> problems;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(check.get())) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
    const std::string line = text != nullptr ? text : "";
    if (line != "ok") problems.push_back(line);
  }
  // Damage the check runs into is a finding like the ones it reports itself.
  const int primary = sqlite3_extended_errcode(db_) & 0xFF;
  if (rc != SQLITE_DONE && (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)) {
    problems.emplace_back(sqlite3_errmsg(db_));
  } else if (rc != SQLITE_DONE) {
    raiseEngineError(db_, "integrity check");
  }
  return problems;
}

// An INSTEAD OF trigger upserting into the table; it goes with the view.
void SqliteDatabase::routeUpdates(const UpdateRoute& route) {
  std::string names;
  std::string values;
  std::string conflict;
  for (const auto& [column, value] : route.fixed) {
    names += quoteName(column) + ", ";
    values += quoteLiteral(value) + ", ";
    conflict += quoteName(column) + ", ";
  }
  names += quoteName(route.key);
  values += "OLD." + quoteName(route.key);
  conflict += quoteName(route.key);
  std::string set;
  for (const std::string& column : route.columns) {
    names += ", " + quoteName(column);
    values += ", NEW." + quoteName(column);
    set += std::string(set.empty() ? "" : ", ") + quoteName(column) + " = excluded." +
           quoteName(column);
  }
  std::string forget = "DELETE FROM " + quoteName(route.table) + " WHERE 1";
  for (const auto& [column, value] : route.fixed)
    forget += " AND " + quoteName(column) + " = " + quoteLiteral(value);
  // The trigger's name marks the view as one that stands for a table (the catalogue views); the
  // comment, in hexadecimal so that no value can end it, is what DROP TABLE deletes with it.
  const std::string sql = "CREATE TRIGGER " + quoteName(route.view + "_Route") +
                          " INSTEAD OF UPDATE ON " + quoteName(route.view) + " BEGIN " +
                          kForgetMark + toHex(forget) + "*/ INSERT INTO " + quoteName(route.table) +
                          " (" + names + ") VALUES (" + values + ") ON CONFLICT (" + conflict +
                          ") DO UPDATE SET " + set + "; END";
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
    raiseEngineError(db_, sql);
}

void SqliteDatabase::dropTable(const Op& op, ResultHandler& handler) {
  std::string view;
  std::string forget;
  if (!op.target.empty()) {
    Statement find(db_,
                   "SELECT v.name, r.sql FROM main.sqlite_master v JOIN main.sqlite_master r ON "
                   "r.type = 'trigger' AND r.tbl_name = v.name AND r.name = v.name || '_Route' "
                   "COLLATE NOCASE WHERE v.type = 'view' AND v.name = ?1 COLLATE NOCASE",
                   op.source);
    sqlite3_bind_text(find.get(), 1, op.target.c_str(), static_cast<int>(op.target.size()),
                      SQLITE_TRANSIENT);
    const int rc = firstStep(find.get());
    if (rc == SQLITE_ROW) {
      view = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));
      const char* text = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 1));
      const std::string_view trigger = text != nullptr ? text : "";
      const auto at = trigger.find(kForgetMark);
      const auto end = at == std::string_view::npos ? at : trigger.find("*/", at);
      if (end != std::string_view::npos) {
        const auto start = at + std::string_view(kForgetMark).size();
        forget = fromHex(trigger.substr(start, end - start));
      }
    } else if (rc != SQLITE_DONE) {
      raiseEngineError(db_, op.source);
    }
  }
  if (view.empty()) {
    Op plain = op;
    plain.kind = Op::Kind::Exec;
    runOne(plain, handler);
    return;
  }
  // The rows and the view go together or not at all.
  const std::string sql = "SAVEPOINT quillon_drop; " + forget + "; DROP VIEW " + quoteName(view) +
                          "; RELEASE quillon_drop";
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    SqlError error = engineError(db_, op.source);
    sqlite3_exec(db_, "ROLLBACK TO quillon_drop; RELEASE quillon_drop", nullptr, nullptr, nullptr);
    throw error;
  }
  handler.onRowsAffected(0);
}

void SqliteDatabase::setBusyTimeout(int milliseconds) {
  sqlite3_busy_timeout(db_, milliseconds);
}

void SqliteDatabase::readWithoutMapping() {
  sqlite3_exec(db_, "PRAGMA mmap_size = 0", nullptr, nullptr, nullptr);
}

void SqliteDatabase::relaxDurability() {
  durable_ = false;
  sqlite3_exec(db_, "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF", nullptr, nullptr,
               nullptr);
}

}  // namespace quillon::sql
