#include "demo/account_query.h"

#include <stdexcept>

#include "components/suite/account_check.h"
#include "components/suite/account_database.h"

namespace quillon::cli::demo {

std::vector<std::vector<std::string>> accountRows(const std::string& databasePath,
                                                  const std::string& query, std::size_t columns) {
  std::vector<sql::ResultSet> found;
  try {
    // The suite's own check: it names the file and says whether it is missing or no account.
    const auto db = components::suite::openAccountDatabase(databasePath);
    found = db->query(query);
  } catch (const std::exception& e) {
    throw std::runtime_error(e.what());
  }
  std::vector<std::vector<std::string>> rows;
  if (found.empty()) return rows;
  for (const auto& row : found.front().rows) {
    if (row.size() < columns) continue;
    std::vector<std::string> texts;
    texts.reserve(row.size());
    for (const auto& cell : row) texts.push_back(cell.text);
    rows.push_back(std::move(texts));
  }
  return rows;
}

std::string accountCheckText(const std::string& databasePath) {
  try {
    const auto db = components::suite::openAccountDatabase(databasePath);
    return components::suite::checkAccountDatabase(*db).text();
  } catch (const std::exception& e) {
    return std::string("The account could not be checked: ") + e.what() + "\n";
  }
}

}  // namespace quillon::cli::demo
