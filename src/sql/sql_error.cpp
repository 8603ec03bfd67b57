#include "sql/sql_error.h"

#include <string>

namespace quillon::sql {

namespace {

std::string joined(std::string_view a, std::string_view b) {
  std::string out(a);
  out += b;
  return out;
}

}  // namespace

SqlError SqlError::statementFailed(std::string_view engineText, std::string_view statement) {
  std::string text(engineText);
  if (!statement.empty()) {
    text += " in: ";
    text += statement.substr(0, 200);
  }
  return {Kind::StatementFailed, kSqlErrorNumber, std::move(text)};
}

SqlError SqlError::loadFailed(std::string_view table, std::string_view engineText) {
  return {Kind::StatementFailed, kSqlErrorNumber,
          "table " + std::string(table) + ": " + std::string(engineText)};
}

SqlError SqlError::transactionOpen() {
  return {Kind::StatementFailed, kSqlErrorNumber, "A transaction is already open"};
}

SqlError SqlError::noCurrentRow() {
  return {Kind::StatementFailed, kSqlErrorNumber,
          "No current row: the cursor is before the first or after the last row"};
}

SqlError SqlError::columnOutOfRange(std::size_t column) {
  return {Kind::StatementFailed, kSqlErrorNumber,
          "Column index " + std::to_string(column) + " is out of range"};
}

SqlError SqlError::noCurrentRowIn(std::string_view statementStart) {
  return {Kind::StatementFailed, kSqlErrorNumber, joined("No current row in: ", statementStart)};
}

SqlError SqlError::unsupported(std::string_view construct) {
  return {Kind::NotTranslated, kSqlErrorNumber,
          joined("T-SQL construct not supported by the embedded engine: ", construct)};
}

SqlError SqlError::syntax(std::string text) {
  return {Kind::NotTranslated, kSqlErrorNumber, std::move(text)};
}

SqlError SqlError::nestedTooDeeply(std::string_view what) {
  return {Kind::NotTranslated, kSqlErrorNumber,
          std::string(kNestedTooDeeplyText) + " (" + std::string(what) + " nested deeper than " +
              std::to_string(kMaxNesting) + " levels)"};
}

SqlError SqlError::batchTooLong() {
  return {Kind::NotTranslated, kSqlErrorNumber,
          std::string(kBatchTooLongText) + ": it holds more than " +
              std::to_string(kMaxBatchBytes >> 20) + " MiB (" + std::to_string(kMaxBatchBytes) +
              " bytes); break it up into smaller batches."};
}

SqlError SqlError::conditionRefused(std::string_view fault, std::string_view shown) {
  return {Kind::NotTranslated, kSqlErrorNumber,
          std::string(kConditionRefusedText) + ": " + std::string(fault) +
              " in: " + std::string(shown)};
}

SqlError SqlError::busy(std::string_view what) {
  return {Kind::Busy, kDatabaseBusyNumber,
          std::string(kDatabaseBusyText) + " (" + std::string(what) + ")"};
}

SqlError SqlError::cannotConnect(std::string_view server, std::string_view cause) {
  return {Kind::ConnectionFailed, kConnectionFailedNumber,
          std::string(kServerSource) + "Cannot connect to " + std::string(server) + ": " +
              std::string(cause)};
}

SqlError SqlError::databaseMissing(std::string_view server, std::string_view cause) {
  SqlError e = cannotConnect(server, cause);
  e.kind_ = Kind::DatabaseMissing;
  return e;
}

SqlError SqlError::connectionLost(std::string_view server, std::string_view cause,
                                  std::string_view statement) {
  std::string text =
      std::string(kServerSource) + "The connection to " + std::string(server) + " was lost";
  if (!cause.empty()) text += ": " + std::string(cause);
  if (!statement.empty()) text += " in: " + std::string(statement.substr(0, 200));
  return {Kind::ConnectionLost, kConnectionFailedNumber, std::move(text)};
}

SqlError SqlError::invalidServerLocation(std::string_view why) {
  return {Kind::ConnectionFailed, kConnectionFailedNumber,
          std::string(kServerSource) + "The server location is not valid: " + std::string(why)};
}

SqlError SqlError::cannotPrepare(std::string_view server, std::string_view cause) {
  return {Kind::ConnectionFailed, kConnectionFailedNumber,
          std::string(kServerSource) + "Cannot prepare the account database on " +
              std::string(server) + " for the library: " + std::string(cause)};
}

SqlError SqlError::noServerEngine() {
  return {Kind::ConnectionFailed, kConnectionFailedNumber,
          std::string(kServerSource) +
              "This build of the library has no server engine (it was built without libpq)."};
}

SqlError SqlError::clientLibraryMissing(std::string_view library, std::string_view cause) {
  return {Kind::ConnectionFailed, kConnectionFailedNumber,
          std::string(kServerSource) + "The server engine needs the PostgreSQL client library " +
              std::string(library) + ", which cannot be loaded: " + std::string(cause)};
}

SqlError SqlError::cannotReadContents(std::string_view database, std::string_view cause) {
  std::string text = std::string(kServerSource) + "Cannot read what the database " +
                     std::string(database) + " holds";
  if (!cause.empty()) text += ": " + std::string(cause);
  return {Kind::ConnectionFailed, kConnectionFailedNumber, std::move(text)};
}

SqlError SqlError::fileFailed(std::string_view what, std::string_view systemText) {
  return {Kind::LocationFailed, automation::err::kInvalidProcedureCall,
          std::string(what) + ": " + std::string(systemText)};
}

SqlError SqlError::wrongEncoding(std::string_view database, std::string_view encoding) {
  return {Kind::LocationFailed, automation::err::kInvalidProcedureCall,
          "The database " + std::string(database) + " on the server is in " +
              std::string(encoding) + "; an account needs UTF8."};
}

SqlError SqlError::notAFile(std::string_view path) {
  return {Kind::LocationFailed, automation::err::kInvalidProcedureCall,
          std::string(path) + " is a directory, not a database file."};
}

}  // namespace quillon::sql
