// What the order, arrival-note and delivery-note dialogs do with the rows of their line grids
// (filled by FillGridFromRecordset from a line recordset): a field's column and cells, a row as a
// one-record recordset, the pop-up menu's copy, clear and hide, a row's cells kept to put back
// after a refused edit, the unit routine of an edited row, and the unit and free-item lists of a
// line cell.
//
// `lines` is the recordset the grid was filled from (its field i is grid column i + 1); null when
// the grid has not been filled, in which case no field has a column. `kind` is what the grid's
// rows are, as it was filled.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "module/fill_grid.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::forms {
class MsSuperGrid;
}

namespace quillon::dialogs::kit {

// Captions of the line-grid columns the dialogs' rules and tools go by.
inline constexpr std::string_view kWarehouseCaption = "仓库";
inline constexpr std::string_view kBatchCaption = "批号";
inline constexpr std::string_view kReceiptCaption = "入库单号";
inline constexpr std::string_view kExpiryCaption = "失效日期";
inline constexpr std::string_view kMadeCaption = "生产日期";
inline constexpr std::string_view kStockUnitCaption = "库存单位";

// The grid holds data rows to work on (a filled line grid has its field and quantity columns).
bool HasLineData(const forms::MsSuperGrid& grid);

// The grid column of a field of `lines` (its position + 1, names without regard to case), 0
// without one.
int LineFieldColumn(const ado::Recordset* lines, std::string_view field);
// The cell of that field in `row`; "" without the column.
std::string LineFieldCell(const forms::MsSuperGrid& grid, const ado::Recordset* lines, int row,
                          std::string_view field);
// The same as a number (an empty cell 0; a text that is not a number raises 13).
double LineFieldNumber(const forms::MsSuperGrid& grid, const ado::Recordset* lines, int row,
                       std::string_view field);

// Row `row` as a one-record recordset of `lines`' fields, positioned on its record, with this
// time's quantity and pieces in "iQuantity" and "iNum" (CollectMarkedRows).
std::shared_ptr<ado::Recordset> LineRecordOf(const forms::MsSuperGrid& grid, module::LineGrid kind,
                                             ado::Recordset& lines, int row);

// A grid without data rows, captions or current row.
void EmptyGrid(forms::MsSuperGrid& grid);
// The pop-up menu of a line grid: a copy of the current row appended below the rows (with its
// cells and mark), every mark cleared, the current row hidden as a split line is. Nothing happens
// without a current data row.
void CopyCurrentRow(forms::MsSuperGrid& grid);
void ClearMarks(forms::MsSuperGrid& grid);
void HideCurrentRow(forms::MsSuperGrid& grid);

// A row's cells, to put back when an edit is refused after the row was recalculated.
std::vector<std::string> RowCells(const forms::MsSuperGrid& grid, int row);
void RestoreRow(forms::MsSuperGrid& grid, int row, const std::vector<std::string>& cells);

// The unit routine on row `row` after column `col` changed: the row as one record through the
// suite's unit/quantity component, then this time's quantity and pieces, the rate, the stock unit
// and the warehouse back into the row (the edited column's own cell left as it is, except this
// time's columns, which the caller puts back). Errors of the component reach the caller.
void RunUnitRoutine(forms::MsSuperGrid& grid, module::LineGrid kind, ado::Recordset& lines, int row,
                    int col, const module::GridNumberFormats& formats);

// An edit of column `col` run through the unit routine: `text` into the cell, the routine, then
// `text` again (the routine recalculates this time's columns too, and the typed value stands).
// Returns the row's cells from before, for a rule that refuses the result. An error of the
// routine puts them back, sets `cancel` and reaches the caller.
std::vector<std::string> EditWithUnitRoutine(forms::MsSuperGrid& grid, module::LineGrid kind,
                                             ado::Recordset& lines, int row, int col,
                                             const std::string& text,
                                             const module::GridNumberFormats& formats,
                                             bool& cancel);

// The cell button of a stock-unit or free-item column: the item's units or values in the lookup
// list; the chosen name in `chosen`. False for any other column or when nothing was chosen.
bool ChooseLineListValue(const forms::MsSuperGrid& grid, const ado::Recordset& lines, int row,
                         int col, std::string& chosen);

}  // namespace quillon::dialogs::kit
