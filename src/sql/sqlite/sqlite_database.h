// The embedded engine: an account database in an SQLite file.
//
// Transactions take the write lock when they begin (BEGIN IMMEDIATE), so a transaction that has
// read never fails at once on its first write: it waits for another desk's transaction there,
// under the busy timeout.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "sql/column_types.h"
#include "sql/database.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quillon::sql {

class SqliteDatabase final : public Database {
 public:
  static std::unique_ptr<SqliteDatabase> open(const std::string& path, OpenMode mode,
                                              int busyTimeoutMs);
  ~SqliteDatabase() override;

  Engine engine() const override { return Engine::SQLite; }
  bool inTransaction() const override;
  std::int64_t changes() const override;
  std::int64_t lastInsertRowId() const override;
  void setBusyTimeout(int milliseconds) override;
  void relaxDurability() override;
  void readWithoutMapping() override;

  // The raw connection, for tests of the engine itself.
  sqlite3* handle() const { return db_; }

 protected:
  void run(const Program& program, ResultHandler& handler) override;
  std::unique_ptr<Cursor> openQuery(const Op& op, std::size_t firstRows) override;
  void beginTransaction() override;
  void commitTransaction() override;
  void rollbackTransaction() override;
  std::vector<std::string> checkIntegrity(int limit) override;
  std::unique_ptr<BulkLoader> makeBulkLoader() override;
  bool resetSession(const std::string& location) override;
  void routeUpdates(const UpdateRoute& route) override;

 private:
  SqliteDatabase(sqlite3* db, std::string path, bool readOnly);

  void runOne(const Op& op, ResultHandler& handler);
  // The declared types of the columns of the file's and the session's tables, read again when
  // either schema has changed; null when they cannot be read.
  const SchemaTypes* currentSchema();
  void selectInto(const Op& op, ResultHandler& handler);
  // DROP TABLE: of a view that stands for a table, the view and the rows its updates wrote.
  void dropTable(const Op& op, ResultHandler& handler);

  sqlite3* db_;
  bool readOnly_;
  // The file opened (device and inode), when it is one; and whether writes are durable.
  std::optional<std::pair<std::uint64_t, std::uint64_t>> file_;
  bool durable_ = true;
  SchemaTypes schema_;
  std::int64_t schemaVersions_[2] = {-1, -1};  // main and temp when schema_ was read
  sqlite3_stmt* versionQueries_[2] = {nullptr, nullptr};
};

// The raw connection of an embedded database, for tests and benchmarks of the engine itself;
// null for a database on another engine.
sqlite3* sqliteHandle(const Database& db);

// Throws the engine's last error on `db` for `statement` (its start is quoted in the text):
// kDatabaseBusyNumber when another connection held the lock too long, else kSqlErrorNumber.
[[noreturn]] void raiseEngineError(sqlite3* db, std::string_view statement);

// Makes `db` read the schema again if another connection has changed it since `db` last read it:
// for a statement whose result columns are read before it runs.
void readCurrentSchema(sqlite3* db);

// sqlite3_prepare_v2, tried again while another connection's schema change keeps it from
// finishing: many desks making and dropping their work tables on one file change the schema
// between a statement's reading of it and its check, and the engine retries only once.
int prepareStatement(sqlite3* db, const std::string& sql, sqlite3_stmt** stmt);
// A statement's first sqlite3_step, tried again in the same case: the engine prepares a statement
// whose schema has changed again at its first step, and that can meet the same race. Nothing has
// run when it fails so.
int firstStep(sqlite3_stmt* stmt);

// The rows of one prepared statement.
class SqliteCursor final : public Cursor {
 public:
  SqliteCursor(sqlite3_stmt* stmt, std::string_view statementText);
  // A cursor that finalizes its statement when it goes.
  static std::unique_ptr<SqliteCursor> owning(sqlite3_stmt* stmt, std::string_view statementText);
  ~SqliteCursor() override;
  SqliteCursor(const SqliteCursor&) = delete;
  SqliteCursor& operator=(const SqliteCursor&) = delete;

  bool next() override;
  ValueKind kind(std::size_t column) const override;
  std::int64_t int64(std::size_t column) const override;
  double real(std::size_t column) const override;
  std::string_view text(std::size_t column) const override;
  std::span<const std::byte> blob(std::size_t column) const override;
  void readRow(std::span<CellView> out) const override;

 private:
  sqlite3_stmt* stmt_;
  std::string statementStart_;
  bool hasRow_ = false;
  bool done_ = false;
  bool primed_ = false;  // the first row is read, not yet given by next()
  bool owns_ = false;
};

}  // namespace quillon::sql
