// StockQueries: the suite's candidate queries for the current-stock selection — the stock rows and
// the receipt lines a voucher line can take from — in the field layouts the selection dialog
// expects (docs/stock-queries.md). Hosts run them through RefSelect.Refer / AutoRefer, after
// RefSelect.GetAllBSQL / GetAllRDSSQL when the voucher keeps per-workstation work tables.
//
// Late-bound members (suite implementation, ProgID "Quillon.Suite.StockQueries"):
//   CurrentStockSql(sWhCode, sInvCode, [sFree], [sBatch], [sRefFrom]) As String
//   ReceiptLineSql(sWhCode, sInvCode, [sFree], [sBatch], [sRefFrom]) As String
//   ReturnSql(sWhCode, sInvCode, [sFree], [sBatch]) As String
// sFree is a Collection of the line's free-item values 1 to 10 (fewer items are fine); sRefFrom
// "18" gives the stocktaking layout.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "automation/class_registry.h"
#include "automation/dispatch.h"

namespace quillon::components {

inline constexpr std::string_view kStockQueriesProgId = "Quillon.Suite.StockQueries";

// The identifying values of a voucher line. An empty batch or free item is not a condition: the
// query offers every batch (every value) of the inventory in the warehouse.
struct StockLine {
  std::string whCode;
  std::string invCode;
  std::array<std::string, 10> free;
  std::string batch;
};

class StockQueries : public automation::Object {
 public:
  // Current-stock rows (reference type 0), issue or stocktaking layout.
  virtual std::string currentStockSql(const StockLine& line, bool stocktaking) const = 0;
  // Receipt lines with what is left of them (reference type 1), issue or stocktaking layout.
  virtual std::string receiptLineSql(const StockLine& line, bool stocktaking) const = 0;
  // Receipt lines to return goods against (reference type 2).
  virtual std::string returnSql(const StockLine& line) const = 0;
};

// Registers "Quillon.Suite.StockQueries".
void registerStockQueries(automation::ClassRegistry& registry);

}  // namespace quillon::components
