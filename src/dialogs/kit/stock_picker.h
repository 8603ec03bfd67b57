// The batch and receipt-voucher pickers of the order, arrival-note and delivery-note line grids:
// they hand one line (warehouse, item, free items, batch, this time's quantity and pieces, rate)
// to the stock reference the dialog was handed (stock_reference.h) over the suite's stock or
// receipt-line query, and bring the chosen rows back onto the line.
//
// The batch picker uses current stock (a red voucher when this time's quantity is negative), the
// receipt-voucher picker receipt lines (on the order and arrival-note grids always as a red
// voucher: it tracks a return to the receipt it returns against; on the delivery grid it tracks an
// issue to its receipt, red only when this time's quantity is). Both allow several rows. Automatic
// allocation or the selection dialog as the caller asks.
//
// One chosen row rewrites the line in place; several hide it (height 0) and add one copy of it per
// row below the grid's rows, each with that row's values and unmarked, as every line appended to a
// grid starts (only the copy-line tool copies a mark). A line without warehouse is refused with
// "仓库不能为空！" and nothing changes; nothing chosen changes nothing either.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/kit/stock_reference.h"
#include "module/fill_grid.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::forms {
class MsSuperGrid;
}

namespace quillon::dialogs::kit {

inline constexpr std::string_view kLineWarehouseEmpty = "仓库不能为空！";

// Where a chosen row's value goes: every grid column captioned (row 0) by the first of `columns`
// that heads one, from the first of `fields` that the chosen rows have.
struct PickedValue {
  std::vector<std::string> columns;
  std::vector<std::string> fields;
};

// The mapping of the order and arrival-note grids: batch, expiry, shelf life, production date;
// the receipt-voucher picker also the receipt voucher number and the receipt line ("iCorId").
std::vector<PickedValue> receiptLineMapping(StockPick pick);

struct PickResult {
  int rows = 0;  // chosen rows; 0 when nothing changed
  // The text of the picked column on the line (batch, or receipt voucher number) when one row
  // rewrote it in place.
  std::optional<std::string> text;
};

// `line` is the one-record copy of grid row `row` (its iQuantity and iNum this time's values);
// `kind` what the grid's rows are (a delivery line tracks an issue, the others a return).
// Uses gContext's login. The picker's own errors (a refused query) reach the caller.
PickResult PickStockForLine(StockReference& reference, forms::MsSuperGrid& grid,
                            module::LineGrid kind, int row, const ado::Recordset& line,
                            StockPick pick, bool automatic,
                            const std::vector<PickedValue>& mapping);

class BulkStockRun {
 public:
  // Creates the work table (uses gContext's login); its errors reach the caller. `reference`
  // outlives the run.
  BulkStockRun(StockReference& reference, StockPick pick);
  // Drops the work table if finish() did not.
  ~BulkStockRun();
  BulkStockRun(const BulkStockRun&) = delete;
  BulkStockRun& operator=(const BulkStockRun&) = delete;

  // Allocates line `row` automatically and silently. `message` comes in as the run's start text
  // and is left as what the allocation said: "" when it was allocated in full, else its message
  // (a line without warehouse gives "仓库不能为空！").
  PickResult assign(forms::MsSuperGrid& grid, module::LineGrid kind, int row,
                    const ado::Recordset& line, const std::vector<PickedValue>& mapping,
                    std::string& message);

  // Drops the work table; its errors reach the caller.
  void finish();

 private:
  StockReference& reference_;
  StockPick pick_;
  bool open_ = false;
};

}  // namespace quillon::dialogs::kit
