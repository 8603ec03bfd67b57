// Database: one connection to one account database, speaking the T-SQL the services write, on
// whichever engine holds the account: an embedded file (SQLite) or a database server
// (PostgreSQL). Nothing above this layer and the ADO objects knows which one runs.
//
// Batches are split into statements, each translated to the engine's dialect (translations are
// cached by statement text) and run in order. Failing statements throw SqlError -2147217900 with
// the engine's text (sql_error.h); a failure inside the caller's transaction leaves the transaction
// open for the caller to roll back.
//
// Locks: a connection waits for a lock another connection holds for as long as its busy timeout
// says, from the moment it is opened (nothing is read before the wait is set). A lock that
// outlasts the wait throws kDatabaseBusyNumber with kDatabaseBusyText.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sql/program.h"
#include "sql/result.h"
#include "sql/sql_error.h"
#include "sql/translator.h"

namespace quillon::sql {

// How long a connection waits for a lock unless told otherwise: ADO's CommandTimeout default.
inline constexpr int kDefaultBusyTimeoutMs = 30000;

enum class OpenMode : std::uint8_t {
  CreateIfMissing,  // create the database when it does not exist
  OpenExisting,     // fail when the database does not exist
  ReadOnly,         // open an existing database for reading only
};

// Adds the rows of a bulk load: prepared inserts on the embedded engine, COPY on the server.
// Rows of one table keep their order (so identity columns number them as they come); the load
// runs inside the caller's transaction.
class BulkLoader {
 public:
  virtual ~BulkLoader() = default;
  // One row of `table`; columns not named take their defaults. Texts are copied, so the values
  // may go as soon as the call returns.
  virtual void insert(std::string_view table, std::span<const std::string_view> columns,
                      std::span<const CellView> values) = 0;
  // Writes whatever is still held back. Throws the engine's error naming the table.
  virtual void finish() = 0;
};

class Database;

// A read left open on a connection (Database::openRows, setPendingRead). Whatever else runs on
// the connection first finishes it, so every other statement, transaction and write meets the
// connection as if the read had run to its end when it was opened.
class PendingRead {
 public:
  virtual ~PendingRead() = default;
  // Reads the rest of the rows. Throws what reading them meets.
  virtual void finish() = 0;
};

// Told of every batch any connection of the process runs while it is installed, with everything
// the batch gave: each result set's rows (also those its reader left unread) and each count of
// rows changed. For tools and tests that compare what the same work does on the two engines.
// Nothing is read twice or copied while no observer is installed. Batches a handler runs while it
// reads another's rows nest: their batchStarted/batchEnded come between the outer pair.
class StatementObserver {
 public:
  virtual ~StatementObserver() = default;
  virtual void batchStarted(const Database& db, std::string_view tsqlBatch) = 0;
  virtual void resultSet(const Database& db, ResultSet rows) = 0;
  virtual void rowsAffected(const Database& db, std::int64_t rows) = 0;
  // `failure` is the exception the batch ends with, or null when it ran to its end.
  virtual void batchEnded(const Database& db, const std::exception* failure) = 0;
};

// Installs the observer of every connection (null: none) and gives the one it replaces. Install
// it while no other thread runs statements.
StatementObserver* setStatementObserver(StatementObserver* observer);

class Database {
 public:
  // `location` is an account database file (or ":memory:", or an SQLite file: URI) for the
  // embedded engine, or a server URI "postgresql://…" (Location, locations.h). `busyTimeoutMs`
  // is the wait for locks (0: none), in force before anything is read.
  static std::unique_ptr<Database> open(const std::string& location,
                                        OpenMode mode = OpenMode::CreateIfMissing,
                                        int busyTimeoutMs = kDefaultBusyTimeoutMs);
  virtual ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  virtual Engine engine() const = 0;

  // Runs a T-SQL batch statement by statement, reporting each result to the handler.
  void execute(std::string_view tsqlBatch, ResultHandler& handler);
  // Runs a batch and discards its results; returns the rows affected in total.
  std::int64_t execute(std::string_view tsqlBatch);
  // Runs a batch and materialises every result set it yields.
  std::vector<ResultSet> query(std::string_view tsqlBatch);

  // The rows of a batch that is one query, kept open past the call and read as the cursor is
  // moved; the cursor is valid until it is destroyed (destroying it early drops the rest). Null
  // when the batch is anything else (or a statement observer is installed): run it with execute.
  // Errors of the statement's start are thrown here, as execute would throw them. With
  // `firstRows`, the reader takes that many rows first (a list's first screen): the server engine
  // asks for those alone before its usual batches.
  std::unique_ptr<Cursor> openRows(std::string_view tsqlBatch, std::size_t firstRows = 0);
  // The connection has at most one pending read: a second one finishes the first. Anything else
  // run through this connection (execute, a transaction, a bulk load, a reset) finishes it first
  // and fails with its error when finishing it fails. clearPendingRead forgets it unfinished.
  void setPendingRead(PendingRead* read);
  void clearPendingRead(const PendingRead* read) {
    if (pending_ == read) pending_ = nullptr;
  }
  bool hasPendingRead() const { return pending_ != nullptr; }
  void finishPendingRead();

  // Begins a transaction holding the write lock (a read-only connection's only reads).
  void begin() {
    finishPendingRead();
    beginTransaction();
  }
  void commit() {
    finishPendingRead();
    commitTransaction();
  }
  void rollback() {
    finishPendingRead();
    rollbackTransaction();
  }
  virtual bool inTransaction() const = 0;

  // Rows changed by the most recent statement, and the identity value it inserted last.
  virtual std::int64_t changes() const = 0;
  virtual std::int64_t lastInsertRowId() const = 0;

  virtual void setBusyTimeout(int milliseconds) = 0;

  // The engine's own integrity check of the whole database: what it found wrong (at most
  // `limit` messages), nothing when it is sound.
  std::vector<std::string> integrityCheck(int limit = 100) {
    finishPendingRead();
    return checkIntegrity(limit);
  }

  // For a database being built from scratch, which is thrown away when building fails: writes
  // need not survive a crash of the machine.
  virtual void relaxDurability() = 0;

  // For a connection that reads results once, a row at a time, however large: an engine that
  // maps its file into memory reads through its own small page cache instead, so that what the
  // results touched does not stay resident.
  virtual void readWithoutMapping() {}

  // A bulk load inside the caller's transaction.
  std::unique_ptr<BulkLoader> bulkLoader() {
    finishPendingRead();
    return makeBulkLoader();
  }
  // After a bulk load, outside a transaction: has the engine gather what its planner knows of
  // every table's rows, so that the first statements after the load are planned for the rows
  // the tables hold rather than for empty tables. The embedded engine plans without.
  void updateStatistics() {
    finishPendingRead();
    gatherStatistics();
  }

  // For a connection kept open for its location's next user: puts the session back as a fresh
  // one starts (no transaction, no temporary tables) and tells whether that worked and
  // `location` still names what it has open. False: close it rather than keep it.
  bool resetForReuse(const std::string& location) {
    finishPendingRead();
    return resetSession(location);
  }

  // Sessions other connections can see: the engine's number of this connection's session, and a
  // condition (T-SQL, on `column` holding such a number) that holds while that session lives.
  // An engine whose sessions others cannot see (the embedded file) gives 0 and an empty text.
  std::int64_t sessionNumber() {
    finishPendingRead();
    return ownSessionNumber();
  }
  virtual std::string sessionLives(std::string_view /*column*/) const { return {}; }

  // Makes updates of the view `view` reach `table` instead (T-SQL as this layer speaks it has no
  // triggers): the new values of `columns` of each updated row are written to the row of `table`
  // with the row's `key` and the `fixed` column values, which is inserted when there is none.
  // `table` has a unique key over the fixed columns and `key`. Names are plain names; the fixed
  // values are texts, quoted here.
  //
  // Such a view stands for a table of its name: the catalogue (sysobjects, object_id(…, 'U'),
  // OBJECTPROPERTY(…, 'IsUserTable')) shows it as a user table, and DROP TABLE of its name drops
  // it together with the rows of `table` that carry the fixed values, so that a host's "drop the
  // table if it is there, then make it" works on it as on a table.
  struct UpdateRoute {
    std::string view;
    std::string table;
    std::string key;
    std::vector<std::pair<std::string, std::string>> fixed;
    std::vector<std::string> columns;
  };
  void routeViewUpdates(const UpdateRoute& route) {
    finishPendingRead();
    routeUpdates(route);
  }

  // The translation of a batch as the engine will run it (cached like execute's).
  std::shared_ptr<const Program> translate(std::string_view tsqlBatch) {
    return translator_.translate(tsqlBatch);
  }
  Translator& translator() { return translator_; }

  // The location the database was opened with (a file, or the server URI with its password
  // masked: maskPassword).
  const std::string& path() const { return path_; }

 protected:
  Database(std::string path, Engine engine);
  virtual void run(const Program& program, ResultHandler& handler) = 0;
  // The engine's part of openRows: the rows of one translated query, or null for anything the
  // engine does not keep open (the batch then runs through execute).
  virtual std::unique_ptr<Cursor> openQuery(const Op& /*op*/, std::size_t /*firstRows*/) {
    return nullptr;
  }
  virtual void beginTransaction() = 0;
  virtual void commitTransaction() = 0;
  virtual void rollbackTransaction() = 0;
  virtual std::vector<std::string> checkIntegrity(int limit) = 0;
  virtual std::unique_ptr<BulkLoader> makeBulkLoader() = 0;
  virtual void gatherStatistics() {}
  virtual bool resetSession(const std::string& /*location*/) { return false; }
  virtual std::int64_t ownSessionNumber() { return 0; }
  virtual void routeUpdates(const UpdateRoute& route) = 0;
  // For an engine's destructor: the pending read finished while the connection still works;
  // what finishing it meets is dropped with the connection.
  void finishPendingReadQuietly() noexcept;

 private:
  std::string path_;
  Translator translator_;
  PendingRead* pending_ = nullptr;
};

}  // namespace quillon::sql
