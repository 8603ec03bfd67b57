// Account databases on a server: locations are URIs "postgresql://[user[:password]@][host][:port]
// /database[?key=value…]"; whole databases are made, renamed and dropped through the server's own
// database "postgres".
#include <string>
#include <vector>

#include "sql/sql_error.h"
#include "sql/sql_text.h"
#include "sql/storage.h"
#ifdef QUILLON_SERVER_ENGINE
#include "sql/pg/pq.h"

#include "sql/pg/pg_database.h"
#endif

namespace quillon::sql {

namespace {

// Where the database name stands in a server URI: after the authority, before the query.
std::pair<std::size_t, std::size_t> nameSpan(const std::string& uri) {
  const auto scheme = uri.find("://");
  const auto slash = uri.find('/', scheme == std::string::npos ? 0 : scheme + 3);
  const auto query = uri.find('?');
  const std::size_t end = query == std::string::npos ? uri.size() : query;
  if (slash == std::string::npos || slash > end) return {end, end};
  return {slash + 1, end};
}

// Percent-encodes a URI part: letters, digits and "-._~" stay.
std::string encoded(std::string_view part) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : part) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// Adds a query item to a URI.
void addQuery(std::string& uri, std::string_view key, std::string_view value) {
  uri += uri.find('?') == std::string::npos ? '?' : '&';
  uri += key;
  uri += '=';
  uri += encoded(value);
}

class ServerStorage final : public Storage {
 public:
  Engine engine() const override { return Engine::PostgreSQL; }

  std::unique_ptr<Database> open(const std::string& location, OpenMode mode,
                                 int busyTimeoutMs) const override {
#ifdef QUILLON_SERVER_ENGINE
    return PgDatabase::open(location, mode, busyTimeoutMs);
#else
    (void)location;
    (void)mode;
    (void)busyTimeoutMs;
    throw SqlError::noServerEngine();
#endif
  }

  std::string subject(std::string_view shown) const override {
    return "数据库[" + std::string(shown) + "]";
  }
  std::string existsText(const std::string& location) const override {
    return "The database " + name(location) + " already exists on the server";
  }
  std::string name(const std::string& location) const override {
    const auto [begin, end] = nameSpan(location);
    return percentDecoded(std::string_view(location).substr(begin, end - begin));
  }
  std::string stem(const std::string& location) const override {
    return name(location);
  }
  std::string resolved(const std::string& location) const override {
    return location;
  }
  std::string sibling(const std::string& location, std::string_view suffix) const override {
    std::string n = name(location);
    for (char c : suffix) n += (c == '.' || c == '-') ? '_' : c;
    return withDatabaseName(location, n);
  }
  std::string withDatabaseName(const std::string& location, std::string_view name) const override {
    std::string out = location;
    const auto [begin, end] = nameSpan(location);
    if (begin == end && (begin == 0 || out[begin - 1] != '/')) {
      out.insert(begin, "/" + encoded(name));
    } else {
      out.replace(begin, end - begin, encoded(name));
    }
    return out;
  }
  std::string withLogin(const std::string& location, std::string_view user,
                        std::string_view password, int connectionTimeout) const override {
    std::string out = location;
    if (!user.empty()) addQuery(out, "user", user);
    if (!password.empty()) addQuery(out, "password", password);
    if (connectionTimeout > 0 && out.find("connect_timeout=") == std::string::npos)
      addQuery(out, "connect_timeout", std::to_string(connectionTimeout));
    return out;
  }

  bool exists(const std::string& location) const override {
    return !onServer(location,
                     "SELECT 1 FROM pg_database WHERE datname = " + quoteLiteral(name(location)))
                .empty();
  }
  bool knownMissing(const std::string& /*location*/) const override {
    return false;
  }
  bool copiesFreely() const override {
    return false;
  }
  DatabaseContents contents(const std::string& location) const override;
  void drop(const std::string& location) const override {
    onServer(location, "DROP DATABASE IF EXISTS " + quoteName(name(location)) + " WITH (FORCE)");
  }
  void rename(const std::string& from, const std::string& to) const override {
    drop(to);
    onServer(from, "ALTER DATABASE " + quoteName(name(from)) + " RENAME TO " + quoteName(name(to)));
  }
  void copy(const std::string& from, const std::string& to) const override {
    drop(to);
    onServer(from, "CREATE DATABASE " + quoteName(name(to)) + " TEMPLATE " + quoteName(name(from)) +
                       " STRATEGY FILE_COPY");
  }

 private:
  // Runs one of the server's own statements (not T-SQL) on its database "postgres"; returns the
  // first column of its rows.
  std::vector<std::string> onServer(const std::string& location,
                                    const std::string& statement) const {
#ifdef QUILLON_SERVER_ENGINE
    auto server = PgDatabase::open(withDatabaseName(location, "postgres"), OpenMode::OpenExisting,
                                   kDefaultBusyTimeoutMs);
    return server->column(statement);
#else
    (void)location;
    (void)statement;
    throw SqlError::noServerEngine();
#endif
  }
};

DatabaseContents ServerStorage::contents(const std::string& location) const {
#ifdef QUILLON_SERVER_ENGINE
  // A connection of libpq's own: the library's would install its functions in the database
  // before it could be refused.
  const char* keys[] = {"dbname", "client_encoding", nullptr};
  const char* values[] = {location.c_str(), "UTF8", nullptr};
  PGconn* conn = pq::PQconnectdbParams(keys, values, 1);
  if (conn == nullptr || pq::PQstatus(conn) != CONNECTION_OK) {
    const std::string why = conn != nullptr ? pq::PQerrorMessage(conn) : "";
    pq::PQfinish(conn);
    if (saysDatabaseMissing(why)) return DatabaseContents::Absent;
    // The library's error for it, which names the server and the cause.
    PgDatabase::open(location, OpenMode::OpenExisting, kDefaultBusyTimeoutMs);
    throw SqlError::cannotReadContents(name(location));
  }
  PGresult* result = pq::PQexec(
      conn,
      "SELECT (SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
      "WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f', 'S') AND n.nspname NOT IN ('pg_catalog', "
      "'information_schema', 'tsql') AND n.nspname NOT LIKE 'pg\\_%'), "
      "pg_encoding_to_char(encoding) FROM pg_database WHERE datname = current_database()");
  const bool read = pq::PQresultStatus(result) == PGRES_TUPLES_OK && pq::PQntuples(result) == 1;
  const std::string relations = read ? pq::PQgetvalue(result, 0, 0) : "";
  const std::string encoding = read ? pq::PQgetvalue(result, 0, 1) : "";
  std::string cause = read ? "" : pq::PQresultErrorMessage(result);
  while (!cause.empty() && (cause.back() == '\n' || cause.back() == ' ')) cause.pop_back();
  pq::PQclear(result);
  pq::PQfinish(conn);
  if (!read) throw SqlError::cannotReadContents(name(location), cause);
  if (encoding != "UTF8") throw SqlError::wrongEncoding(name(location), encoding);
  return relations == "0" ? DatabaseContents::Empty : DatabaseContents::HoldsTables;
#else
  (void)location;
  throw SqlError::noServerEngine();
#endif
}

}  // namespace

const Storage& serverStorage() {
  static const ServerStorage storage;
  return storage;
}

std::string serverLocation(std::string_view host, std::string_view port, std::string_view database,
                           std::string_view user, std::string_view password,
                           int connectionTimeout) {
  std::string uri = "postgresql://";
  if (!user.empty()) {
    uri += encoded(user);
    if (!password.empty()) uri += ":" + encoded(password);
    uri += "@";
  }
  const bool socket = host.starts_with("/");
  if (!host.empty() && !socket) uri += encoded(host);
  if (!port.empty() && !socket) uri += ":" + encoded(port);
  uri += "/" + encoded(database);
  if (socket) addQuery(uri, "host", host);
  if (socket && !port.empty()) addQuery(uri, "port", port);
  if (connectionTimeout > 0) addQuery(uri, "connect_timeout", std::to_string(connectionTimeout));
  return uri;
}

}  // namespace quillon::sql
