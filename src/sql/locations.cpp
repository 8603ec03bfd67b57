#include "sql/locations.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "automation/com_error.h"
#include "sql/database.h"
#include "sql/sql_text.h"
#ifdef QUILLON_SERVER_ENGINE
#include <libpq-fe.h>

#include "sql/pg_database.h"
#endif

namespace quillon::sql {

namespace {

namespace fs = std::filesystem;

// Where the database name stands in a server URI: after the authority, before the query.
std::pair<std::size_t, std::size_t> nameSpan(const std::string& uri) {
  const auto scheme = uri.find("://");
  const auto slash = uri.find('/', scheme == std::string::npos ? 0 : scheme + 3);
  const auto query = uri.find('?');
  const std::size_t end = query == std::string::npos ? uri.size() : query;
  if (slash == std::string::npos || slash > end) return {end, end};
  return {slash + 1, end};
}

std::string decoded(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// Runs one of the server's own statements (not T-SQL) on its database "postgres"; returns the
// first column of its rows.
std::vector<std::string> onServer(const std::string& location, const std::string& statement) {
#ifdef QUILLON_SERVER_ENGINE
  auto server = PgDatabase::open(withDatabaseName(location, "postgres"), OpenMode::OpenExisting,
                                 kDefaultBusyTimeoutMs);
  return server->column(statement);
#else
  (void)statement;
  Database::open(location);  // refuses, naming what is missing
  return {};
#endif
}

[[noreturn]] void fileError(const std::string& what, const std::error_code& ec) {
  throw automation::ComError(automation::err::kInvalidProcedureCall, what + ": " + ec.message());
}

}  // namespace

std::string withDatabaseName(const std::string& location, std::string_view name) {
  std::string out = location;
  const auto [begin, end] = nameSpan(location);
  if (begin == end && (begin == 0 || out[begin - 1] != '/')) {
    out.insert(begin, "/" + std::string(name));
  } else {
    out.replace(begin, end - begin, name);
  }
  return out;
}

std::string databaseName(const std::string& location) {
  if (!isServerLocation(location)) return fs::path(location).filename().string();
  const auto [begin, end] = nameSpan(location);
  return decoded(std::string_view(location).substr(begin, end - begin));
}

std::string siblingLocation(const std::string& location, std::string_view suffix) {
  if (!isServerLocation(location)) return location + std::string(suffix);
  std::string name = databaseName(location);
  for (char c : suffix) name += (c == '.' || c == '-') ? '_' : c;
  return withDatabaseName(location, name);
}

bool databaseExists(const std::string& location) {
  if (!isServerLocation(location)) {
    std::error_code ec;
    return fs::exists(location, ec);
  }
  return !onServer(location, "SELECT 1 FROM pg_database WHERE datname = " +
                                 quoteLiteral(databaseName(location)))
              .empty();
}

ServerDatabase serverDatabaseContents(const std::string& location) {
#ifdef QUILLON_SERVER_ENGINE
  // A connection of libpq's own: the library's would install its functions in the database
  // before it could be refused.
  const char* keys[] = {"dbname", "client_encoding", nullptr};
  const char* values[] = {location.c_str(), "UTF8", nullptr};
  PGconn* conn = PQconnectdbParams(keys, values, 1);
  if (conn == nullptr || PQstatus(conn) != CONNECTION_OK) {
    const std::string why = conn != nullptr ? PQerrorMessage(conn) : "";
    PQfinish(conn);
    if (why.find("database \"" + databaseName(location) + "\" does not exist") !=
        std::string::npos) {
      return ServerDatabase::Absent;
    }
    // The library's error for it, which names the server and the cause.
    PgDatabase::open(location, OpenMode::OpenExisting, kDefaultBusyTimeoutMs);
    throw automation::ComError(
        kConnectionFailedNumber,
        "[Quillon.PostgreSQL] Cannot read what the database " + databaseName(location) + " holds");
  }
  PGresult* result = PQexec(
      conn,
      "SELECT (SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
      "WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f', 'S') AND n.nspname NOT IN ('pg_catalog', "
      "'information_schema', 'tsql') AND n.nspname NOT LIKE 'pg\\_%'), "
      "pg_encoding_to_char(encoding) FROM pg_database WHERE datname = current_database()");
  const bool read = PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1;
  const std::string relations = read ? PQgetvalue(result, 0, 0) : "";
  const std::string encoding = read ? PQgetvalue(result, 0, 1) : "";
  std::string cause = read ? "" : PQresultErrorMessage(result);
  while (!cause.empty() && (cause.back() == '\n' || cause.back() == ' ')) cause.pop_back();
  PQclear(result);
  PQfinish(conn);
  if (!read) {
    throw automation::ComError(kConnectionFailedNumber,
                               "[Quillon.PostgreSQL] Cannot read what the database " +
                                   databaseName(location) + " holds: " + cause);
  }
  if (encoding != "UTF8") {
    throw automation::ComError(automation::err::kInvalidProcedureCall,
                               "The database " + databaseName(location) + " on the server is in " +
                                   encoding + "; an account needs UTF8.");
  }
  return relations == "0" ? ServerDatabase::Empty : ServerDatabase::HoldsTables;
#else
  Database::open(location);  // refuses, naming what is missing
  return ServerDatabase::Absent;
#endif
}

void dropDatabase(const std::string& location) {
  if (!isServerLocation(location)) {
    std::error_code ec;
    fs::remove(location, ec);
    return;
  }
  onServer(location,
           "DROP DATABASE IF EXISTS " + quoteName(databaseName(location)) + " WITH (FORCE)");
}

void renameDatabase(const std::string& from, const std::string& to) {
  if (!isServerLocation(from)) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) fileError("Cannot write " + to, ec);
    return;
  }
  dropDatabase(to);
  onServer(from, "ALTER DATABASE " + quoteName(databaseName(from)) + " RENAME TO " +
                     quoteName(databaseName(to)));
}

void copyDatabase(const std::string& from, const std::string& to) {
  if (!isServerLocation(from)) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) fileError("Cannot copy " + from, ec);
    return;
  }
  dropDatabase(to);
  onServer(from, "CREATE DATABASE " + quoteName(databaseName(to)) + " TEMPLATE " +
                     quoteName(databaseName(from)) + " STRATEGY FILE_COPY");
}

}  // namespace quillon::sql
