// The server engine: an account database on a PostgreSQL server, reached through libpq.
//
// The location is a URI "postgresql://[user[:password]@][host][:port]/database[?key=value…]"
// (a host that is a folder is the folder of the server's Unix socket). The dialect layer's
// functions live in the schema "tsql" of the database and are installed on the first connection
// to it; text columns compare without regard to case (citext), as on the embedded engine.
//
// Transactions of different desks run one after the other, as on the embedded file: begin()
// takes the account's write lock (an advisory lock of the database) and keeps it to the end, so
// that a transaction that reads and writes back never loses another desk's write. The lock wait
// and every other lock wait end after the busy timeout with kDatabaseBusyNumber; a statement
// that runs past twice the timeout is cancelled with the same number.
//
// A statement that fails inside a transaction undoes only itself (it runs under a savepoint), so
// the transaction stays open for the caller to roll back, as on the embedded engine. A lost
// connection fails the call with kConnectionFailedNumber naming the server and the cause; the
// server has then undone the open transaction, and the next call connects again.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sql/column_types.h"
#include "sql/database.h"

struct pg_conn;
struct pg_result;

namespace quillon::sql {

// What is known of one relation's columns: their T-SQL types and their names as written.
struct PgRelation {
  std::string name;  // as its definition wrote it
  struct Column {
    std::string name;          // as written
    std::string declaredType;  // T-SQL, lower case; empty when none
  };
  std::map<int, Column> columns;  // by column number
};

class PgDatabase final : public Database {
 public:
  static std::unique_ptr<PgDatabase> open(const std::string& uri, OpenMode mode, int busyTimeoutMs);
  ~PgDatabase() override;

  Engine engine() const override { return Engine::PostgreSQL; }
  bool inTransaction() const override { return inTransaction_; }
  std::int64_t changes() const override { return changes_; }
  std::int64_t lastInsertRowId() const override;
  void setBusyTimeout(int milliseconds) override;
  void relaxDurability() override;

  std::string sessionLives(std::string_view column) const override;

  // "host:port/database", for messages.
  const std::string& serverName() const { return server_; }

  // The columns of relations (cached per connection); unknown ids are looked up together.
  const PgRelation* relation(unsigned int oid);
  void describeRelations(const std::vector<unsigned int>& oids);

  // Runs engine SQL (one or more statements) outside the dialect layer; throws on failure.
  void exec(const std::string& sql, std::string_view source);
  // The first column of the rows of engine SQL, as text.
  std::vector<std::string> column(const std::string& sql);
  // The connection, reconnecting when it was lost.
  pg_conn* connection();
  // Fails the call whose statement `source` found the connection lost (the server gone, or
  // ending the session): kConnectionFailedNumber, "[Quillon.PostgreSQL] The connection to <server>
  // was lost: <cause> in: <source>". The next call connects again.
  [[noreturn]] void lost(std::string_view source);

 protected:
  void run(const Program& program, ResultHandler& handler) override;
  std::unique_ptr<Cursor> openQuery(const Op& op, std::size_t firstRows) override;
  void beginTransaction() override;
  void commitTransaction() override;
  void rollbackTransaction() override;
  std::vector<std::string> checkIntegrity(int limit) override;
  std::unique_ptr<BulkLoader> makeBulkLoader() override;
  void gatherStatistics() override;
  bool resetSession(const std::string& location) override;
  std::int64_t ownSessionNumber() override;
  void routeUpdates(const UpdateRoute& route) override;

 private:
  PgDatabase(std::string uri, std::string shown, std::string server, bool readOnly,
             int busyTimeoutMs);

  void connect();
  void installFunctions();
  void runOne(const Op& op, ResultHandler& handler);
  void ensureDomains(const std::vector<std::string>& types);
  // Forgets the descriptions of relations that changed since the last check; false when the
  // catalogue could not be read.
  bool checkRelations();
  // Reads the account's table and column names into `fresh`; false when they cannot be read now.
  bool readTableNames(SchemaTypes& fresh, const SchemaTypes& before);
  // DROP TABLE: of a view that stands for a table, the view and the rows its updates wrote.
  void dropTable(const Op& op, ResultHandler& handler);
  // Sends `sql` and hands its results to the handler: rows to onResultSet, counts to
  // onRowsAffected. Inside a transaction the statement runs under a savepoint.
  void send(const Op& op, const std::string& sql, ResultHandler& handler);
  // The same for a query whose rows a streaming handler takes (ResultHandler::streamsRows): read
  // through a cursor, a batch at a time.
  void streamQuery(const Op& op, const std::string& sql, ResultHandler& handler);
  class Stream;
  [[noreturn]] void raise(pg_result* result, std::string_view source);
  // Whether a failed result means the connection is gone: libpq lost it, or the server said it
  // is ending the session (shutting down, crashed, no connection).
  bool connectionGone(pg_result* result) const;
  // The server's notices (and warnings) while a statement runs: kept for the text of a lost
  // connection rather than printed on standard error, as libpq would.
  static void onNotice(void* self, const char* message);
  std::string timeouts() const;

  std::string uri_;
  std::string server_;
  bool readOnly_;
  int busyTimeoutMs_;
  pg_conn* conn_ = nullptr;
  bool inTransaction_ = false;
  bool broken_ = false;     // the connection was lost inside a transaction not yet rolled back
  std::string lastNotice_;  // the last notice of the server, say "terminating connection …"
  std::int64_t changes_ = 0;
  std::map<unsigned int, PgRelation> relations_;
  // The catalogue row versions of the described relations when the session was last put back.
  std::map<unsigned int, std::string> versions_;
  // DISCARD ALL ran and nothing has used the session since (see resetForReuse).
  bool discarded_ = false;
  std::set<std::string> domains_;
  // The names of the account's tables and views and of their columns, for the translation: read
  // when it first asks for one, and again after this session changed a definition.
  SchemaTypes names_;
};

// Whether libpq's text of a refused connection says that the server has no database of the name
// the connection gave: SqlError::databaseMissing rather than cannotConnect.
bool saysDatabaseMissing(std::string_view libpqMessage);

// The engine's type for a T-SQL base type on the server ("double precision" for decimal, "citext"
// for nvarchar, …), empty for one it does not know.
std::string serverBaseType(std::string_view tsqlBase);

}  // namespace quillon::sql
