// Connection: one session with an account database, opened from a connection string (see
// docs/connection-strings.md). Each Connection owns its own engine connection, so temporary
// ("#") tables and transactions are never shared between two of them.
//
// C++ members are camelCase; late-bound callers use the platform's names: Open, Close, Execute,
// BeginTrans, CommitTrans, RollbackTrans, State, ConnectionString, CommandTimeout,
// ConnectionTimeout, CursorLocation, Provider, Mode.
//
// Errors: 3704 on a closed connection, 3705 when opening an open one, 3706 for an unknown
// provider, -2147467259 for a connection string without a database and for a server that cannot
// be reached (its text names the server and the cause), the engine's -2147217900
// for a failing statement, -2147168242 "No transaction is active." for a commit or rollback
// without BeginTrans, sql::kDatabaseBusyNumber when another connection held the file longer than
// CommandTimeout allows (the wait is in force from Open on; BeginTrans takes the write lock).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "sql/database.h"

namespace quillon::ado {

using automation::Variant;

class Recordset;

// ObjectStateEnum.
inline constexpr std::int32_t adStateClosed = 0;
inline constexpr std::int32_t adStateOpen = 1;

// CursorLocationEnum.
inline constexpr std::int32_t adUseServer = 2;
inline constexpr std::int32_t adUseClient = 3;

// ExecuteOptionEnum / CommandTypeEnum bits that change what Execute and Open do.
inline constexpr std::int32_t adOptionUnspecified = -1;
inline constexpr std::int32_t adCmdText = 1;
inline constexpr std::int32_t adCmdTable = 2;
inline constexpr std::int32_t adCmdStoredProc = 4;
inline constexpr std::int32_t adExecuteNoRecords = 0x80;
inline constexpr std::int32_t adCmdTableDirect = 0x200;

class Connection : public automation::Object {
 public:
  Connection() = default;
  ~Connection() override;

  const automation::MemberTable& memberTable() const override;

  void open(const std::string& connectionString = {}, const std::string& user = {},
            const std::string& password = {}, std::int32_t options = adOptionUnspecified);
  void close();
  std::int32_t state() const { return db_ ? adStateOpen : adStateClosed; }
  bool isOpen() const { return db_ != nullptr; }

  // Runs a batch. The first result set comes back as an open client-side recordset; a batch
  // without one gives a closed recordset (null with adExecuteNoRecords). recordsAffected, when
  // given, receives the rows changed by the batch's statements, or -1 when none changed rows.
  std::shared_ptr<Recordset> execute(std::string_view text, std::int32_t* recordsAffected = nullptr,
                                     std::int32_t options = adOptionUnspecified);

  // Transactions do not nest: a second BeginTrans is refused.
  std::int32_t beginTrans();
  void commitTrans();
  void rollbackTrans();
  bool inTransaction() const;

  const std::string& connectionString() const { return connectionString_; }
  void setConnectionString(std::string text);  // 3705 while open
  std::int32_t commandTimeout() const { return commandTimeout_; }
  void setCommandTimeout(std::int32_t seconds);
  std::int32_t connectionTimeout() const { return connectionTimeout_; }
  void setConnectionTimeout(std::int32_t seconds);
  std::int32_t cursorLocation() const { return cursorLocation_; }
  void setCursorLocation(std::int32_t location);

  // The engine connection; 3704 when closed.
  sql::Database& database() const;
  // The provider of the open connection (Quillon.SQLite before one is opened).
  const std::string& provider() const { return provider_; }

 private:
  // Gives the session to the pool of kept sessions (or closes it).
  void release() noexcept;

  std::unique_ptr<sql::Database> db_;
  // Where db_ is open and how, and whether its session goes back to the pool at the end.
  std::string location_;
  sql::OpenMode mode_ = sql::OpenMode::CreateIfMissing;
  bool pooled_ = false;
  std::string connectionString_;
  std::string provider_ = "Quillon.SQLite";
  std::int32_t commandTimeout_ = 30;
  std::int32_t connectionTimeout_ = 15;
  std::int32_t cursorLocation_ = adUseServer;
};

}  // namespace quillon::ado
