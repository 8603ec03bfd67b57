// SqlError: the errors of the SQL layer, made by the named factories below and nowhere else, so
// that every place raising one gives the number and the text hosts know for it:
// `throw SqlError::busy(text);`.
//
// An SqlError is a ComError (hosts see its number and description, which the factories keep as
// they have always been), with the kind of failure the layer found: the layers above tell a
// database that is not there from a refused login, or a lost connection from a failed statement,
// by kind(), never by reading the engine's text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "automation/com_error.h"

namespace quillon::sql {

// The error number every failing statement carries.
inline constexpr std::int32_t kSqlErrorNumber = -2147217900;
// A connection that could not be made or was lost (the server down, a wrong password, a missing
// database): the text names the server and the cause.
inline constexpr std::int32_t kConnectionFailedNumber = -2147467259;
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
// The longest batch the translator takes: a batch is held as tokens and statements while it is
// translated, some twenty times its own size for a batch of short statements, and a longer one
// is refused before any of it is read: kBatchTooLongText and the limit.
inline constexpr std::size_t kMaxBatchBytes = std::size_t{16} << 20;
inline constexpr std::string_view kBatchTooLongText = "The batch is too long to translate";
// The start of the text of a refused condition (condition.h): then the reason and the start of
// the condition.
inline constexpr std::string_view kConditionRefusedText = "The condition is not one expression";
// How the server engine names itself at the start of its connection errors.
inline constexpr std::string_view kServerSource = "[Quillon.PostgreSQL] ";

class SqlError : public automation::ComError {
 public:
  enum class Kind : std::uint8_t {
    StatementFailed,   // the engine refused or failed a statement (its own text)
    NotTranslated,     // the dialect layer cannot read or translate the text
    Busy,              // another connection held a lock longer than the busy timeout
    ConnectionFailed,  // no connection could be made (server down, login refused, no engine)
    ConnectionLost,    // the connection went while it was used
    DatabaseMissing,   // the server has no database of the location's name
    LocationFailed,    // a whole database could not be read, copied or moved at its location
  };

  Kind kind() const { return kind_; }

  // --- Statements: kSqlErrorNumber ---------------------------------------------------------------

  // The engine's text of a failed statement, with the start of the statement: "<text> in: <…>".
  static SqlError statementFailed(std::string_view engineText, std::string_view statement = {});
  // A bulk load's rows refused for `table`: "table <name>: <text>".
  static SqlError loadFailed(std::string_view table, std::string_view engineText);
  // begin() while a transaction is open.
  static SqlError transactionOpen();
  // A cursor read without a current row, past its last column, or a statement's row that is not
  // there ("No current row in: <statement>").
  static SqlError noCurrentRow();
  static SqlError columnOutOfRange(std::size_t column);
  static SqlError noCurrentRowIn(std::string_view statementStart);

  // --- Translation: kSqlErrorNumber --------------------------------------------------------------

  // "T-SQL construct not supported by the embedded engine: <construct>".
  static SqlError unsupported(std::string_view construct);
  // Text that is no T-SQL the layer reads ("Incorrect syntax near …", "Unterminated …", a type
  // the server refuses): the server's words where it has them.
  static SqlError syntax(std::string text);
  // Nesting past kMaxNesting (`what` names it); a batch past kMaxBatchBytes.
  static SqlError nestedTooDeeply(std::string_view what);
  static SqlError batchTooLong();
  // A condition refused by checkCondition: its fault and the condition as shown.
  static SqlError conditionRefused(std::string_view fault, std::string_view shown);

  // --- Locks: kDatabaseBusyNumber ----------------------------------------------------------------

  // kDatabaseBusyText with the engine's words: "<busy text> (<what>)".
  static SqlError busy(std::string_view what);

  // --- Connections: kConnectionFailedNumber, texts starting with kServerSource -------------------

  // "Cannot connect to <server>: <cause>"; the same text when the cause is that the server has
  // no database of that name.
  static SqlError cannotConnect(std::string_view server, std::string_view cause);
  static SqlError databaseMissing(std::string_view server, std::string_view cause);
  // "The connection to <server> was lost[: <cause>][ in: <statement>]".
  static SqlError connectionLost(std::string_view server, std::string_view cause,
                                 std::string_view statement);
  // "The server location is not valid: <what libpq said>" (its passwords masked by the caller).
  static SqlError invalidServerLocation(std::string_view why);
  // "Cannot prepare the account database on <server> for the library: <cause>".
  static SqlError cannotPrepare(std::string_view server, std::string_view cause);
  // A server location in a build of the library without the server engine.
  static SqlError noServerEngine();
  // The server engine's client library could not be loaded: "The server engine needs the
  // PostgreSQL client library <library>, which cannot be loaded: <the loader's words>".
  static SqlError clientLibraryMissing(std::string_view library, std::string_view cause);
  // "Cannot read what the database <name> holds[: <cause>]".
  static SqlError cannotReadContents(std::string_view database, std::string_view cause = {});

  // --- Whole databases: automation::err::kInvalidProcedureCall -----------------------------------

  // A file operation that failed: "<what>: <the system's words>".
  static SqlError fileFailed(std::string_view what, std::string_view systemText);
  // "The database <name> on the server is in <encoding>; an account needs UTF8."
  static SqlError wrongEncoding(std::string_view database, std::string_view encoding);
  // "<path> is a directory, not a database file."
  static SqlError notAFile(std::string_view path);

 private:
  SqlError(Kind kind, std::int32_t number, std::string description)
      : ComError(number, std::move(description)), kind_(kind) {}

  Kind kind_;
};

}  // namespace quillon::sql
