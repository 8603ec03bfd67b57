#include "demo/account_stock.h"

#include "demo/account_query.h"

namespace quillon::cli::demo {

std::vector<StockedLine> stockedLines(const std::string& databasePath) {
  // Outer joins: a stock row whose warehouse or item left the archives can still be referred.
  const auto rows = accountRows(
      databasePath,
      "SELECT DISTINCT c.cWhCode, w.cWhName, c.cInvCode, i.cInvName FROM CurrentStock c "
      "LEFT JOIN Warehouse w ON w.cWhCode = c.cWhCode "
      "LEFT JOIN Inventory i ON i.cInvCode = c.cInvCode "
      "WHERE c.iQuantity > 0 ORDER BY c.cWhCode, c.cInvCode",
      4);
  std::vector<StockedLine> lines;
  for (const auto& row : rows) lines.push_back({row[0], row[1], row[2], row[3]});
  return lines;
}

}  // namespace quillon::cli::demo
