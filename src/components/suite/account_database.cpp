#include "components/suite/account_database.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "ado/connection_string.h"
#include "automation/com_error.h"
#include "components/suite/errors.h"

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
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
    raise(kErrDatabaseMissing, "账套数据库文件[" + path + "]不存在");
  }
  std::unique_ptr<sql::Database> db;
  try {
    db = sql::Database::open(path, sql::OpenMode::OpenExisting, waitMs);
    // Both tables must be there; a foreign database or a file that is no database at all fails
    // here with the engine's own complaint, which is not what the host needs to read.
    db->query("SELECT COUNT(*) FROM accinformation WHERE 1 = 0");
    db->query("SELECT COUNT(*) FROM UA_User WHERE 1 = 0");
  } catch (const automation::ComError& e) {
    if (e.number() == sql::kDatabaseBusyNumber) throw;
    raise(kErrNotAccountDatabase, "文件[" + path + "]不是账套数据库");
  }
  return db;
}

std::string accountConnectionString(const std::string& path) {
  // Create=No: a file removed behind a login must not come back as an empty database.
  return "Provider=Quillon.SQLite;Data Source=" + ado::connectionStringValue(path) + ";Create=No";
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
