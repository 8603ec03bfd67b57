#include "sql/locations.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "sql/database.h"
#include "sql/sql_error.h"
#include "sql/sql_text.h"
#ifdef QUILLON_SERVER_ENGINE
#include <libpq-fe.h>

#include "sql/pg/pg_database.h"
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
  throw SqlError::fileFailed(what, ec.message());
}

bool sameKey(std::string_view key, std::string_view lowerName) {
  while (!key.empty() && (key.front() == ' ' || key.front() == '\t')) key.remove_prefix(1);
  while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
  if (key.size() != lowerName.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    char c = key[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerName[i]) return false;
  }
  return true;
}

constexpr std::string_view kMask = "***";

using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;  // [begin, end), in order

// Where the passwords of the server URIs in `text` stand (from `offset` on): after "user:" in
// the authority, and the value of a "password" query item.
void uriSecrets(std::string_view text, std::size_t offset, Ranges& secrets) {
  std::size_t scheme = text.find("://");
  while (scheme != std::string_view::npos) {
    const std::size_t authority = scheme + 3;
    // A blank or a quote ends a URI inside a longer text.
    std::size_t stop = text.find_first_of(" \t\"'", authority);
    if (stop == std::string_view::npos) stop = text.size();
    const std::string_view uri = text.substr(authority, stop - authority);
    const std::size_t hostEnd = std::min(uri.find_first_of("/?#"), uri.size());
    const std::size_t at = uri.substr(0, hostEnd).rfind('@');
    if (at != std::string_view::npos) {
      const std::size_t colon = uri.substr(0, at).find(':');
      if (colon != std::string_view::npos)
        secrets.emplace_back(offset + authority + colon + 1, offset + authority + at);
    }
    const std::size_t query = uri.find('?');
    const std::size_t queryEnd = std::min(uri.find('#'), uri.size());
    for (std::size_t item = query; item != std::string_view::npos && item < queryEnd;) {
      ++item;
      const std::size_t next = std::min(uri.find('&', item), queryEnd);
      const std::size_t eq = uri.substr(item, next - item).find('=');
      if (eq != std::string_view::npos && sameKey(uri.substr(item, eq), "password"))
        secrets.emplace_back(offset + authority + item + eq + 1, offset + authority + next);
      item = next < queryEnd ? next : std::string_view::npos;
    }
    scheme = text.find("://", stop);
  }
}

// Where the passwords of a connection text stand: a URI's, or a connection string's Password /
// PWD values and the passwords of the URIs in its other values.
Ranges secretsOf(std::string_view text) {
  Ranges secrets;
  std::size_t first = 0;
  while (first < text.size() && (text[first] == ' ' || text[first] == '\t')) ++first;
  if (isServerLocation(text.substr(first))) {
    uriSecrets(text, 0, secrets);
    return secrets;
  }
  // Key=Value items separated by ";", as connection strings are read: a value may be quoted with
  // " or ' (a doubled quote stands for one) to hold ";".
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t eq = text.find('=', pos);
    const std::size_t semi = text.find(';', pos);
    if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
      const std::size_t end = semi == std::string_view::npos ? text.size() : semi + 1;
      uriSecrets(text.substr(pos, end - pos), pos, secrets);
      pos = end;
      continue;
    }
    const std::string_view key = text.substr(pos, eq - pos);
    std::size_t p = eq + 1;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    std::size_t end = p;
    if (p < text.size() && (text[p] == '"' || text[p] == '\'')) {
      const char quote = text[p];
      end = p + 1;
      while (end < text.size()) {
        if (text[end] == quote) {
          if (end + 1 < text.size() && text[end + 1] == quote) {
            end += 2;
            continue;
          }
          ++end;
          break;
        }
        ++end;
      }
    }
    // Whatever follows a closing quote belongs to the item.
    const std::size_t rest = text.find(';', end);
    end = rest == std::string_view::npos ? text.size() : rest;
    if ((sameKey(key, "password") || sameKey(key, "pwd")) && end > p) {
      secrets.emplace_back(p, end);
    } else {
      uriSecrets(text.substr(p, end - p), p, secrets);
    }
    pos = end + 1;
  }
  return secrets;
}

std::string masked(std::string_view text, const Ranges& secrets) {
  std::string out;
  std::size_t from = 0;
  for (const auto& [begin, end] : secrets) {
    out.append(text.substr(from, begin - from));
    out.append(kMask);
    from = end;
  }
  out.append(text.substr(from));
  return out;
}

void replaceAll(std::string& text, std::string_view what) {
  if (what.empty()) return;
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + kMask.size())) {
    text.replace(at, what.size(), kMask);
  }
}

}  // namespace

std::string maskPassword(std::string_view text) {
  return masked(text, secretsOf(text));
}

std::string maskPasswordIn(std::string_view message, std::string_view connectionText) {
  std::string out = maskPassword(message);
  for (const auto& [begin, end] : secretsOf(connectionText)) {
    std::string_view secret = connectionText.substr(begin, end - begin);
    // A quoted value is masked with its quotes, and found in a message without them too.
    if (secret.size() >= 2 && (secret.front() == '"' || secret.front() == '\'') &&
        secret.back() == secret.front())
      secret = secret.substr(1, secret.size() - 2);
    replaceAll(out, secret);
    if (secret.find('%') != std::string_view::npos) {
      try {
        replaceAll(out, decoded(secret));
      } catch (const std::exception&) {
        // not percent-encoding after all: the text as written is masked already
      }
    }
  }
  return out;
}

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
    if (saysDatabaseMissing(why)) return ServerDatabase::Absent;
    // The library's error for it, which names the server and the cause.
    PgDatabase::open(location, OpenMode::OpenExisting, kDefaultBusyTimeoutMs);
    throw SqlError::cannotReadContents(databaseName(location));
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
  if (!read) throw SqlError::cannotReadContents(databaseName(location), cause);
  if (encoding != "UTF8") throw SqlError::wrongEncoding(databaseName(location), encoding);
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
