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

namespace quillon::ado {

inline constexpr std::string_view kProviderName = "Quillon.SQLite";

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

// What opening needs from a connection string: the database file and how to open it.
struct ConnectionTarget {
  std::string path;
  sql::OpenMode mode = sql::OpenMode::CreateIfMissing;
};

// 3706 for a provider other than Quillon.SQLite, -2147467259 without a Data Source or with a
// Mode or Create value this provider does not know.
ConnectionTarget resolveConnectionTarget(const ConnectionString& cs);

}  // namespace quillon::ado
