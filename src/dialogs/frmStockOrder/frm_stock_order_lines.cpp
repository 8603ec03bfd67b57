// The line tools of frmStockOrder: the edit rules of the line cells, the pop-up menu, the
// receiving warehouse and the batch and receipt-voucher pickers.
#include <string>
#include <vector>

#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "automation/vb_runtime.h"
#include "automation/vb_strings.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "components/unit_quantity.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "dialogs/frmStockOrder/stock_order_messages.h"
#include "dialogs/frmStockOrder/stock_order_rules.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace stock_order;

namespace {

// Column captions the rules go by (the layout of the order and arrival-note line grids).
constexpr std::string_view kWarehouseCaption = "仓库";
constexpr std::string_view kBatchCaption = "批号";
constexpr std::string_view kReceiptCaption = "入库单号";
constexpr std::string_view kExpiryCaption = "失效日期";
constexpr std::string_view kMadeCaption = "生产日期";
constexpr std::string_view kThisQuantityCaption = "本次入库数量";
constexpr std::string_view kThisPiecesCaption = "本次入库件数";

// A grid row's cells, to put back when an edit is refused after the row was recalculated.
std::vector<std::string> rowCells(const forms::MsSuperGrid& grid, int row) {
  std::vector<std::string> cells;
  for (int c = 0; c < grid.Cols(); ++c) cells.push_back(grid.TextMatrix(c, row));
  return cells;
}

void restoreRow(forms::MsSuperGrid& grid, int row, const std::vector<std::string>& cells) {
  for (int c = 0; c < grid.Cols() && c < static_cast<int>(cells.size()); ++c) {
    grid.setTextMatrix(c, row, cells[static_cast<std::size_t>(c)]);
  }
}

bool hasData(const forms::MsSuperGrid& grid) {
  return grid.Rows() > 1 && grid.Cols() > 2;
}

}  // namespace

void frmStockOrder::wireLineGrid(forms::MsSuperGrid& grid) {
  grid.MouseUp = handler([this, &grid](int button, int, int, int) { lineMouseUp(grid, button); });
  grid.CellChange = handler([this, &grid](std::string& text, bool& cancel, int row, int col) {
    lineCellChange(grid, text, cancel, row, col);
  });
  grid.CellButtonClick =
      handler([this, &grid](int row, int col) { lineCellButton(grid, row, col); });
}

int frmStockOrder::lineColumn(std::string_view field) const {
  if (!lines_) return 0;
  const auto index = ado::RecordsetView(*lines_).fieldIndex(field);
  return index ? *index + 1 : 0;
}

std::string frmStockOrder::lineCell(const forms::MsSuperGrid& grid, int row,
                                    std::string_view field) const {
  const int col = lineColumn(field);
  return col > 0 && col < grid.Cols() ? grid.TextMatrix(col, row) : std::string();
}

double frmStockOrder::lineNumber(const forms::MsSuperGrid& grid, int row,
                                 std::string_view field) const {
  return module::ToNumber(Variant(lineCell(grid, row, field)));
}

std::shared_ptr<ado::Recordset> frmStockOrder::lineRecordOf(forms::MsSuperGrid& grid, int row) {
  auto record = components::suiteUtility()->copyStructure(*lines_);
  module::CollectMarkedRows(grid, *record, row);
  record->moveFirst();
  return record;
}

// ---- marks and the pop-up menu

void frmStockOrder::lineMouseUp(forms::MsSuperGrid& grid, int button) {
  if (button == forms::vbRightButton) {
    PopupMenu(mnuYJCD);
    return;
  }
  if (button == forms::vbLeftButton) toggleMark(grid);
}

void frmStockOrder::copyLine() {
  forms::MsSuperGrid& grid = activeLineGrid();
  const int row = grid.Row();
  if (row < 1 || row >= grid.Rows()) return;
  const auto redraw = forms::redrawPaused(grid);
  const int added = grid.Rows();
  grid.setRows(added + 1);
  for (int c = 0; c < grid.Cols(); ++c) grid.setTextMatrix(c, added, grid.TextMatrix(c, row));
}

void frmStockOrder::clearMarkedLines() {
  for (forms::MsSuperGrid* grid : {&lstDdBody, &lstDhdBody}) {
    for (int row = 1; row < grid->Rows(); ++row) grid->setMarked(row, false);
  }
}

// The line leaves the list as a split line does: hidden, so it is never returned.
void frmStockOrder::deleteLine() {
  forms::MsSuperGrid& grid = activeLineGrid();
  const int row = grid.Row();
  if (row < 1 || row >= grid.Rows()) return;
  grid.setRowHeight(row, 0);
}

// ---- edit rules

void frmStockOrder::runUnitRoutine(forms::MsSuperGrid& grid, int row, int col) {
  const std::string field = col == grid.Cols() - 2   ? std::string("iquantity")
                            : col == grid.Cols() - 1 ? std::string("inum")
                            : col >= 1 && col <= ado::RecordsetView(*lines_).fieldCount()
                                ? ado::RecordsetView(*lines_).fieldName(col - 1)
                                : std::string();
  auto record = lineRecordOf(grid, row);
  auto unit = components::createAs<components::UnitQuantity>(components::kUnitQuantityProgId);
  unit->setLogin(module::gContext);
  unit->setBody(record);
  unit->recalculate(field);
  const ado::RecordsetView line(*unit->body());
  if (line.rowCount() == 0) return;
  const module::GridNumberFormats& formats = formats_;
  auto value = [&](std::string_view name) {
    const auto index = line.fieldIndex(name);
    return index ? line.value(0, *index) : Variant();
  };
  auto number = [](const Variant& v) { return v.isNull() || v.isEmpty() ? 0.0 : v.toDouble(); };
  grid.setTextMatrix(
      grid.Cols() - 2, row,
      automation::formatNumber(number(value("iquantity")), formats.quantityPattern()));
  grid.setTextMatrix(grid.Cols() - 1, row,
                     automation::formatNumber(number(value("inum")), formats.piecesPattern()));
  if (const int c = lineColumn("iinvexchrate"); c > 0) {
    grid.setTextMatrix(
        c, row, automation::formatNumber(number(value("iinvexchrate")), formats.exchRatePattern()));
  }
  if (const int c = lineColumn("cinva_unit"); c > 0 && c != col) {
    grid.setTextMatrix(c, row, value("cinva_unit").displayText());
  }
  for (const char* name : {"cwhcode", "cwhname"}) {
    if (const int c = lineColumn(name); c > 0 && c != col) {
      grid.setTextMatrix(c, row, value(name).displayText());
    }
  }
}

void frmStockOrder::lineCellChange(forms::MsSuperGrid& grid, std::string& text, bool& cancel,
                                   int row, int col) {
  const std::string old = grid.TextMatrix(col, row);
  if (text == old || !lines_) return;
  const std::string caption = grid.TextMatrix(col, 0);
  const bool orders = &grid == &lstDdBody;
  const auto refuse = [&](const std::string& message, int flags) {
    prompt(message, flags);
    cancel = true;
  };

  // 1. Dates.
  if ((caption == kExpiryCaption || caption == kMadeCaption) && !text.empty() &&
      !automation::IsDate(Variant(text))) {
    forms::MsgBox(std::string(module::kDateFormatMessage), forms::vbCritical,
                  std::string(module::kDateFormatTitle));
    cancel = true;
    return;
  }
  // 2. The warehouse of a line: fixed once a receipt voucher is assigned, else checked.
  if (caption == kWarehouseCaption) {
    if (!lineCell(grid, row, "cinvouchcode").empty()) {
      return refuse(std::string(kWarehouseFixed), forms::vbCritical);
    }
    const module::WarehouseCheck check =
        module::CheckWarehouseForItems(text, lineCell(grid, row, "cinvcode"));
    if (!check.accepted) {
      cancel = true;
      return;
    }
    text = check.name;
    if (const int c = lineColumn("cwhcode"); c > 0) grid.setTextMatrix(c, row, check.code);
  }
  const bool thisQuantity = caption == kThisQuantityCaption && col == grid.Cols() - 2;
  const bool thisPieces = caption == kThisPiecesCaption && col == grid.Cols() - 1;
  const double value = thisQuantity || thisPieces ? module::ToNumber(Variant(text)) : 0.0;
  // 3. Floating units on order lines: the pieces' sign first.
  if (orders && thisQuantity) {
    const double pieces = module::ToNumber(Variant(grid.TextMatrix(grid.Cols() - 1, row)));
    if (auto message =
            piecesSignFirst(static_cast<int>(lineNumber(grid, row, "igrouptype")), value, pieces)) {
      return refuse(*message, forms::vbExclamation);
    }
  }
  // 4. A receipt voucher typed over another one no longer links to that one's line.
  if (caption == kReceiptCaption && !old.empty()) {
    if (const int c = lineColumn("icorid"); c > 0) grid.setTextMatrix(c, row, "");
  }

  // 5. The unit routine on the edited line; what the rules below refuse puts the row back.
  const std::vector<std::string> before = rowCells(grid, row);
  grid.setTextMatrix(col, row, text);
  try {
    runUnitRoutine(grid, row, col);
  } catch (...) {
    restoreRow(grid, row, before);
    cancel = true;
    throw;
  }
  // The routine recalculates the this-time column being edited as well: the typed value stands.
  grid.setTextMatrix(col, row, text);

  std::optional<std::string> refusal;
  auto& settings = module::CurrentAccountSettings();
  if (orders && (thisQuantity || thisPieces)) {
    OrderLineFigures figures;
    figures.received = lineNumber(grid, row, "ireceivedqty");
    figures.receivedPieces = lineNumber(grid, row, "ireceivednum");
    // The grid shows what is still due (the order less what arrival notes carry), so the order
    // quantity is that and the arrived quantity together.
    figures.orderQuantity = lineNumber(grid, row, "iquantity") + lineNumber(grid, row, "iarrqty");
    figures.excess = lineNumber(grid, row, "finexcess");
    figures.openQuantity = module::ToNumber(Variant(grid.TextMatrix(grid.Cols() - 4, row)));
    refusal = orderLineEdit(thisPieces, value, figures, settings.option("OverOrder"),
                            settings.text("FormatQuanDecString"));
  } else if (!orders && (thisQuantity || thisPieces)) {
    const int openCol = thisQuantity ? grid.Cols() - 4 : grid.Cols() - 3;
    refusal =
        arrivalLineEdit(thisPieces, value, module::ToNumber(Variant(old)),
                        module::ToNumber(Variant(grid.TextMatrix(openCol, row))),
                        settings.text(thisPieces ? "FormatNumDecString" : "FormatQuanDecString"));
  }
  if (refusal) {
    restoreRow(grid, row, before);
    refuse(*refusal, forms::vbExclamation);
  }
}

// A value chosen for a cell is an edit of the cell, under the cell's rules.
void frmStockOrder::editCell(forms::MsSuperGrid& grid, int row, int col, std::string text) {
  bool cancel = false;
  lineCellChange(grid, text, cancel, row, col);
  if (!cancel) grid.setTextMatrix(col, row, text);
}

void frmStockOrder::lineCellButton(forms::MsSuperGrid& grid, int row, int col) {
  const std::string caption = grid.TextMatrix(col, 0);
  if (caption == kWarehouseCaption) {
    std::string code;
    std::string name;
    if (pickWarehouse(code, name)) editCell(grid, row, col, name);
    return;
  }
  const ado::RecordsetView fields(*lines_);
  const std::string field = col >= 1 && col <= fields.fieldCount() ? fields.fieldName(col - 1) : "";
  const std::string item = lineCell(grid, row, "cinvcode");
  if (automation::equalsNoCase(field, "cinva_unit")) {
    const auto chosen =
        module::ChooseFromLookup(module::UnitListQuery(item, ""), caption, "ComputationUnit",
                                 "计量单位编码", "计量单位名称", false);
    if (!chosen.empty()) editCell(grid, row, col, chosen.front().name);
    return;
  }
  if (const int freeNo = module::FreeItemNumber(field); freeNo > 0) {
    const auto chosen = module::ChooseFromLookup(module::FreeItemListQuery(item, freeNo, ""),
                                                 caption, "InvFreeValue", "代码", "值", false);
    if (!chosen.empty()) editCell(grid, row, col, chosen.front().name);
    return;
  }
  const bool batch = caption == kBatchCaption;
  if (!batch && caption != kReceiptCaption) return;
  // The buttons pick for returns; a receipt takes what arrives.
  if (module::ToNumber(Variant(grid.TextMatrix(grid.Cols() - 2, row))) >= 0) return;
  pickForCell(grid, row, batch ? module::StockPick::Batch : module::StockPick::ReceiptVoucher);
}

// ---- pickers

bool frmStockOrder::pickForCell(forms::MsSuperGrid& grid, int row, module::StockPick pick) {
  auto line = lineRecordOf(grid, row);
  const auto result =
      module::PickStockForLine(grid, row, *line, pick, false, module::receiptLineMapping(pick));
  return result.rows > 0;
}

void frmStockOrder::pickForLine(module::StockPick pick, bool automatic) {
  forms::MsSuperGrid& grid = activeLineGrid();
  if (!hasData(grid) || !lines_) return;
  const int row = grid.Row();
  if (row < 1 || row >= grid.Rows()) return;
  const std::string_view caption =
      pick == module::StockPick::Batch ? kBatchCaption : kReceiptCaption;
  if (grid.colByCaption(caption) < 0) return;
  auto line = lineRecordOf(grid, row);
  module::PickStockForLine(grid, row, *line, pick, automatic, module::receiptLineMapping(pick));
}

// ---- receiving warehouse

bool frmStockOrder::pickWarehouse(std::string& code, std::string& name) {
  const std::string query = module::LookupQuery("rfwarehouse", txtWh.Text(), warehouses_);
  const auto chosen =
      module::ChooseFromLookup(query, "Warehouse", "Warehouse", "cWhCode", "cWhName", false);
  if (chosen.empty()) return false;
  code = chosen.front().code;
  name = chosen.front().name;
  return true;
}

void frmStockOrder::cmdWh_Click() {
  std::string code;
  std::string name;
  if (pickWarehouse(code, name)) {
    whCode_ = code;
    txtWh.setText(name);
    applyWarehouseToLines();
  }
  if (txtWh.isReachable() && !txtWh.hasFocus()) txtWh.SetFocus();
}

void frmStockOrder::txtWh_LostFocus() {
  applyWarehouseToLines();
  // A refusal gives the box the focus back, and with it the button.
  if (ActiveControl() != &cmdWh && ActiveControl() != &txtWh) cmdWh.setVisible(false);
}

void frmStockOrder::applyWarehouseToLines() {
  const std::string typed = automation::Trim(txtWh.Text());
  if (typed.empty()) {
    whCode_.clear();
    return;
  }
  forms::MsSuperGrid& grid = activeLineGrid();
  const int current = grid.Row();
  const std::string item =
      current >= 1 && current < grid.Rows() ? lineCell(grid, current, "cinvcode") : std::string();
  const module::WarehouseCheck check = module::CheckWarehouseForItems(typed, item);
  if (!check.accepted) {
    txtWh.setText("");
    whCode_.clear();
    if (txtWh.isReachable() && !txtWh.hasFocus()) txtWh.SetFocus();
    return;
  }
  whCode_ = check.code;
  txtWh.setText(check.name);
  const int nameCol = lineColumn("cwhname");
  const int codeCol = lineColumn("cwhcode");
  if (!lines_ || nameCol <= 0) return;
  for (int row = 1; row < grid.Rows(); ++row) {
    // A line tracked to its receipt voucher keeps that voucher's warehouse.
    if (!lineCell(grid, row, "cinvouchcode").empty()) continue;
    grid.setTextMatrix(nameCol, row, check.name);
    if (codeCol > 0) grid.setTextMatrix(codeCol, row, check.code);
  }
}

}  // namespace quillon::dialogs
