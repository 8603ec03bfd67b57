#include "demo/account_stock.h"

#include <stdexcept>

#include "components/suite/account_database.h"

namespace quillon::cli::demo {

std::vector<StockedLine> stockedLines(const std::string& databasePath) {
  std::vector<sql::ResultSet> found;
  try {
    const auto db = components::suite::openAccountDatabase(databasePath);
    // Outer joins: a stock row whose warehouse or item left the archives can still be referred.
    found = db->query(
        "SELECT DISTINCT c.cWhCode, w.cWhName, c.cInvCode, i.cInvName FROM CurrentStock c "
        "LEFT JOIN Warehouse w ON w.cWhCode = c.cWhCode "
        "LEFT JOIN Inventory i ON i.cInvCode = c.cInvCode "
        "WHERE c.iQuantity > 0 ORDER BY c.cWhCode, c.cInvCode");
  } catch (const std::exception& e) {
    throw std::runtime_error(e.what());
  }
  std::vector<StockedLine> lines;
  if (!found.empty()) {
    for (const auto& row : found.front().rows) {
      if (row.size() >= 4) lines.push_back({row[0].text, row[1].text, row[2].text, row[3].text});
    }
  }
  return lines;
}

}  // namespace quillon::cli::demo
