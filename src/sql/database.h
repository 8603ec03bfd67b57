// Database: one connection to one account database, speaking the T-SQL the services write.
//
// Batches are split into statements, each translated to the engine's dialect (translations are
// cached by statement text) and run in order. Failing statements throw ComError -2147217900 with
// the engine's text; a failure inside the caller's transaction leaves the transaction open for the
// caller to roll back.
//
// Locks: a connection waits for a file another connection holds for as long as its busy timeout
// says, from the moment it is opened (nothing is read before the wait is set). Transactions take
// the write lock when they begin, so a transaction that has read never fails at once on its first
// write. A lock that outlasts the wait throws kDatabaseBusyNumber with kDatabaseBusyText.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sql/program.h"
#include "sql/result.h"
#include "sql/translator.h"

struct sqlite3;

namespace quillon::sql {

// The error number every failing statement carries.
inline constexpr std::int32_t kSqlErrorNumber = -2147217900;
// A statement that waited for another connection's lock longer than the busy timeout (the
// provider's "timeout expired"); the text starts with kDatabaseBusyText.
inline constexpr std::int32_t kDatabaseBusyNumber = -2147217871;
inline constexpr std::string_view kDatabaseBusyText = "账套正被其他工作站使用，请稍后再试";
// How deep a statement may nest parentheses and CASE, and a batch IF and BEGIN blocks: the
// translator works through nesting recursively, and the limit keeps any text from exhausting the
// stack. The text is the server's own for a statement nested too deeply.
inline constexpr int kMaxNesting = 64;
inline constexpr std::string_view kNestedTooDeeplyText =
    "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up into "
    "smaller queries.";
// The error for text nested deeper than kMaxNesting; `what` names the nesting.
[[noreturn]] void refuseNesting(std::string_view what);
// How long a connection waits for a lock unless told otherwise: ADO's CommandTimeout default.
inline constexpr int kDefaultBusyTimeoutMs = 30000;

enum class OpenMode : std::uint8_t {
  CreateIfMissing,  // create the file when it does not exist
  OpenExisting,     // fail when the file does not exist
  ReadOnly,         // open an existing file for reading only
};

class Database {
 public:
  // `busyTimeoutMs` is the wait for locks (0: none), in force before the file is first read.
  static std::unique_ptr<Database> open(const std::string& path,
                                        OpenMode mode = OpenMode::CreateIfMissing,
                                        int busyTimeoutMs = kDefaultBusyTimeoutMs);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs a T-SQL batch statement by statement, reporting each result to the handler.
  void execute(std::string_view tsqlBatch, ResultHandler& handler);
  // Runs a batch and discards its results; returns the rows affected in total.
  std::int64_t execute(std::string_view tsqlBatch);
  // Runs a batch and materialises every result set it yields.
  std::vector<ResultSet> query(std::string_view tsqlBatch);

  // Begins a transaction holding the write lock (a read-only connection's only reads).
  void begin();
  void commit();
  void rollback();
  bool inTransaction() const;

  // Rows changed by the most recent statement, and the row id it inserted last.
  std::int64_t changes() const;
  std::int64_t lastInsertRowId() const;

  void setBusyTimeout(int milliseconds);

  // The engine's own integrity check of the whole file: what it found wrong (at most `limit`
  // messages), nothing when the file is sound.
  std::vector<std::string> integrityCheck(int limit = 100);

  // The translation of a batch as the engine will run it (cached like execute's).
  std::shared_ptr<const Program> translate(std::string_view tsqlBatch) {
    return translator_.translate(tsqlBatch);
  }
  Translator& translator() { return translator_; }

  const std::string& path() const { return path_; }
  // The raw connection, for bulk loaders that bind statements themselves.
  sqlite3* handle() const { return db_; }

 private:
  Database(sqlite3* db, std::string path, bool readOnly);

  void run(const Program& program, ResultHandler& handler);
  void runOne(const Op& op, ResultHandler& handler);
  void selectInto(const Op& op, ResultHandler& handler);

  sqlite3* db_;
  std::string path_;
  bool readOnly_;
  Translator translator_;
};

// Throws the engine's last error on `db` for `statement` (its start is quoted in the text):
// kDatabaseBusyNumber when another connection held the lock too long, else kSqlErrorNumber.
[[noreturn]] void raiseEngineError(sqlite3* db, std::string_view statement);

}  // namespace quillon::sql
