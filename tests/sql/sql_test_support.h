// Reading results as short texts in the SQL tests.
#pragma once

#include <string>

#include "sql/database.h"

namespace quillon::sql::testing {

// The single value of a one-row, one-column query, as text ("" for NULL).
std::string scalar(Database& db, const std::string& sql);
// All rows of the first result set, each row's values joined with "|", rows joined with ";".
std::string rows(Database& db, const std::string& sql);

}  // namespace quillon::sql::testing
