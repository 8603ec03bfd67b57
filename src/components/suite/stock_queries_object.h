// The suite's StockQueries on the account database's stock tables (see components/stock_queries.h
// and docs/stock-queries.md).
#pragma once

#include "components/stock_queries.h"

namespace quillon::components::suite {

class StockQueriesObject final : public StockQueries {
 public:
  std::string currentStockSql(const StockLine& line, bool stocktaking) const override;
  std::string receiptLineSql(const StockLine& line, bool stocktaking) const override;
  std::string returnSql(const StockLine& line) const override;

  const automation::MemberTable& memberTable() const override;
};

}  // namespace quillon::components::suite
