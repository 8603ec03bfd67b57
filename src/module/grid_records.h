// Records from the rows of a spread grid filled by FillGridFromRecordset, as the order and delivery
// dialogs hand chosen rows back: field i of the recordset takes the text of grid column i + 1
// (converted to the field's type by the recordset; an empty cell leaves the field empty), and on a
// line grid (`kind` not LineGrid::None) "iQuantity" and "iNum" take this time's quantity and
// pieces (the last two columns).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "module/fill_grid.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::forms {
class MsSuperGrid;
}

namespace quillon::module {

// The data rows a person has chosen: marked and not hidden (height 0), in grid order.
std::vector<int> MarkedRows(const forms::MsSuperGrid& grid);

// What AddRecordFromGridRow read besides the fields.
struct GridRowRecord {
  std::string loadedQuantity;  // the row's "iquantity" cell before this time's replaced it
  double thisQuantity = 0;
  double thisPieces = 0;
};

// Adds a record to `rs` (AddNew) from grid row `row` and leaves it being edited: the caller sets
// its own fields and calls Update. A cell the field's type cannot take raises the recordset's
// error with the record still being edited.
GridRowRecord AddRecordFromGridRow(const forms::MsSuperGrid& grid, LineGrid kind, int row,
                                   ado::Recordset& rs);

// What OK and the pickers hand on: adds to `rs` exactly grid row `row`, or with row 0 every
// MarkedRows row in grid order, each as AddRecordFromGridRow does and, on a line grid, with
// "bQuanSign" True when this time's quantity is not negative (where `rs` has the field).
// `complete` sets the caller's own fields of each record before it is updated. Returns the number
// of records added.
int CollectMarkedRows(const forms::MsSuperGrid& grid, LineGrid kind, ado::Recordset& rs,
                      int row = 0, const std::function<void(const GridRowRecord&)>& complete = {});

}  // namespace quillon::module
