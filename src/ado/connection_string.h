// Connection strings: "Key=Value;Key=Value", keys compared without regard to case and blanks
// around keys and values ignored; a value may be quoted with " or ' to hold ";" (a doubled quote
// inside stands for one). What the keys mean is documented in docs/connection-strings.md.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sql/database.h"
#include "sql/locations.h"

namespace quillon::ado {

// The providers: the embedded engine (an account database file) and the database server.
inline constexpr std::string_view kProviderName = "Quillon.SQLite";
inline constexpr std::string_view kServerProviderName = "Quillon.PostgreSQL";

class ConnectionString {
 public:
  // 3001 for a text that is not a list of key=value pairs.
  static ConnectionString parse(std::string_view text);

  // The value of a key (the last one when a key repeats), or nothing.
  std::optional<std::string> get(std::string_view key) const;
  const std::vector<std::pair<std::string, std::string>>& pairs() const { return pairs_; }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

// A value as a connection string item carries it, so that parse reads back exactly `value`.
std::string connectionStringValue(std::string_view value);

// What opening needs from a connection string: the database (a file, or a server URI) and how to
// open it.
struct ConnectionTarget {
  std::string path;
  sql::OpenMode mode = sql::OpenMode::CreateIfMissing;
  std::string provider = std::string(kProviderName);
};

// 3706 for a provider other than Quillon.SQLite and Quillon.PostgreSQL, -2147467259 without a
// database or with a Mode or Create value the provider does not know. The user name and password
// given to Open, when not empty, stand in for the server's User ID and Password; the connection
// timeout (seconds, 0: none) is how long the server is waited for.
ConnectionTarget resolveConnectionTarget(const ConnectionString& cs, const std::string& user = {},
                                         const std::string& password = {},
                                         int connectionTimeout = 15);

// The provider that opens an account's location: the server's for a database on a server.
std::string_view providerFor(const sql::Location& location);

}  // namespace quillon::ado
