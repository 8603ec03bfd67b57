#include "components/suite/account_database.h"

#include <optional>

#include "ado/connection_string.h"
#include "automation/com_error.h"
#include "components/suite/component_errors.h"
#include "sql/locations.h"

namespace quillon::components::suite {

namespace {

std::string valueText(const sql::Value& v) {
  switch (v.kind) {
    case sql::ValueKind::Integer:
      return std::to_string(v.integer);
    case sql::ValueKind::Real: {
      std::string s = std::to_string(v.real);
      return s;
    }
    default:
      return v.text;
  }
}

}  // namespace

std::unique_ptr<sql::Database> openAccountDatabase(const std::string& path, int waitMs) {
  const sql::Location location(path);
  if (location.knownMissing()) {
    raise(kErrDatabaseMissing, "账套数据库文件[" + sql::maskPassword(path) + "]不存在");
  }
  std::unique_ptr<sql::Database> db;
  try {
    try {
      db = location.open(sql::OpenMode::OpenExisting, waitMs);
    } catch (const sql::SqlError& e) {
      // The server down, a login refused, the database missing: the server's own words.
      if (e.number() == sql::kConnectionFailedNumber) {
        raise(e.kind() == sql::SqlError::Kind::DatabaseMissing ? kErrDatabaseMissing : e.number(),
              "账套数据库[" + sql::maskPassword(path) + "]无法打开：" + e.description());
      }
      throw;
    }
    // Both tables must be there; a foreign database or a file that is no database at all fails
    // here with the engine's own complaint, which is not what the host needs to read.
    db->query("SELECT COUNT(*) FROM accinformation WHERE 1 = 0");
    db->query("SELECT COUNT(*) FROM UA_User WHERE 1 = 0");
  } catch (const automation::ComError& e) {
    if (e.number() == sql::kDatabaseBusyNumber || e.number() == sql::kConnectionFailedNumber ||
        e.number() == kErrDatabaseMissing)
      throw;
    raise(kErrNotAccountDatabase, location.subject() + "不是账套数据库");
  }
  return db;
}

std::string accountConnectionString(const std::string& path) {
  // Create=No: an account removed behind a login must not come back as an empty database.
  const std::string_view provider = ado::providerFor(sql::Location(path));
  return "Provider=" + std::string(provider) + ";Data Source=" + ado::connectionStringValue(path) +
         ";Create=No";
}

std::optional<std::string> scalarText(sql::Database& db, const std::string& statement) {
  auto results = db.query(statement);
  for (const auto& rs : results) {
    if (rs.rows.empty() || rs.rows.front().empty()) continue;
    const sql::Value& v = rs.rows.front().front();
    if (v.isNull()) return std::nullopt;
    return valueText(v);
  }
  return std::nullopt;
}

}  // namespace quillon::components::suite
