// Opening an account database for the suite's own reads, with the errors a host should see: a
// missing file (or server database) and one that is not an account database are both named in
// the error text; a server that cannot be reached fails with its own cause.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "sql/database.h"

namespace quillon::components::suite {

// The account opened (never created): a file, or a server location (sql::Location), and
// checked: it must hold the account tables (parameters and
// users). Raises kErrDatabaseMissing / kErrNotAccountDatabase; a file that another desk holds
// locked for longer than `waitMs` raises sql::kDatabaseBusyNumber (the account is in use), never
// kErrNotAccountDatabase.
std::unique_ptr<sql::Database> openAccountDatabase(const std::string& path,
                                                   int waitMs = sql::kDefaultBusyTimeoutMs);

// The ADO connection string of an account database (a file or a server location).
std::string accountConnectionString(const std::string& path);

// The first column of the first row of a query, as text; nullopt when there is no row or the
// value is NULL.
std::optional<std::string> scalarText(sql::Database& db, const std::string& statement);

}  // namespace quillon::components::suite
