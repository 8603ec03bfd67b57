#include "sql/locations.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "automation/com_error.h"
#include "sql/database.h"
#include "sql/sql_text.h"
#ifdef QUILLON_SERVER_ENGINE
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
