// The line tools of frmStockOrder: the edit rules of the line cells, the pop-up menu, the
// receiving warehouse and the batch and receipt-voucher pickers.
#include <string>
#include <vector>

#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/com_error.h"
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
#include "dialogs/kit/line_grid_tools.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace stock_order;

namespace {

// This time's columns of the order and arrival-note line grids.
constexpr std::string_view kThisQuantityCaption = "本次入库数量";
constexpr std::string_view kThisPiecesCaption = "本次入库件数";

}  // namespace

void frmStockOrder::wireLineGrid(forms::MsSuperGrid& grid) {
  grid.MouseUp = handler([this, &grid](int button, int, int, int) { lineMouseUp(grid, button); });
  grid.CellChange = handler([this, &grid](std::string& text, bool& cancel, int row, int col) {
    lineCellChange(grid, text, cancel, row, col);
  });
  grid.CellButtonClick =
      handler([this, &grid](int row, int col) { lineCellButton(grid, row, col); });
}

kit::StockReference& frmStockOrder::stockReference() const {
  if (!stockReference_) throw automation::ComError::objectNotSet();
  return *stockReference_;
}

module::LineGrid frmStockOrder::kindOf(const forms::MsSuperGrid& grid) const {
  return &grid == &lstDdBody ? module::LineGrid::Order : module::LineGrid::Arrival;
}

int frmStockOrder::lineColumn(std::string_view field) const {
  return kit::LineFieldColumn(lines_.get(), field);
}

std::string frmStockOrder::lineCell(const forms::MsSuperGrid& grid, int row,
                                    std::string_view field) const {
  return kit::LineFieldCell(grid, lines_.get(), row, field);
}

double frmStockOrder::lineNumber(const forms::MsSuperGrid& grid, int row,
                                 std::string_view field) const {
  return kit::LineFieldNumber(grid, lines_.get(), row, field);
}

std::shared_ptr<ado::Recordset> frmStockOrder::lineRecordOf(forms::MsSuperGrid& grid, int row) {
  return kit::LineRecordOf(grid, kindOf(grid), *lines_, row);
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
  kit::CopyCurrentRow(activeLineGrid());
}

void frmStockOrder::clearMarkedLines() {
  kit::ClearMarks(lstDdBody);
  kit::ClearMarks(lstDhdBody);
}

// The line leaves the list as a split line does: hidden, so it is never returned.
void frmStockOrder::deleteLine() {
  kit::HideCurrentRow(activeLineGrid());
}

// ---- edit rules

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
  if ((caption == kit::kExpiryCaption || caption == kit::kMadeCaption) && !text.empty() &&
      !automation::IsDate(Variant(text))) {
    forms::MsgBox(std::string(module::kDateFormatMessage), forms::vbCritical,
                  std::string(module::kDateFormatTitle));
    cancel = true;
    return;
  }
  // 2. The warehouse of a line: fixed once a receipt voucher is assigned, else checked.
  if (caption == kit::kWarehouseCaption) {
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
  if (caption == kit::kReceiptCaption && !old.empty()) {
    if (const int c = lineColumn("icorid"); c > 0) grid.setTextMatrix(c, row, "");
  }

  // 5. The unit routine on the edited line; what the rules below refuse puts the row back.
  const std::vector<std::string> before =
      kit::EditWithUnitRoutine(grid, kindOf(grid), *lines_, row, col, text, formats_, cancel);

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
    kit::RestoreRow(grid, row, before);
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
  if (caption == kit::kWarehouseCaption) {
    std::string code;
    std::string name;
    if (pickWarehouse(code, name)) editCell(grid, row, col, name);
    return;
  }
  std::string chosen;
  if (kit::ChooseLineListValue(grid, *lines_, row, col, chosen)) {
    editCell(grid, row, col, chosen);
    return;
  }
  const bool batch = caption == kit::kBatchCaption;
  if (!batch && caption != kit::kReceiptCaption) return;
  // The buttons pick for returns; a receipt takes what arrives.
  if (module::ToNumber(Variant(grid.TextMatrix(grid.Cols() - 2, row))) >= 0) return;
  pickForCell(grid, row, batch ? kit::StockPick::Batch : kit::StockPick::ReceiptVoucher);
}

// ---- pickers

bool frmStockOrder::pickForCell(forms::MsSuperGrid& grid, int row, kit::StockPick pick) {
  auto line = lineRecordOf(grid, row);
  const auto result = kit::PickStockForLine(stockReference(), grid, kindOf(grid), row, *line, pick,
                                            false, kit::receiptLineMapping(pick));
  return result.rows > 0;
}

void frmStockOrder::pickForLine(kit::StockPick pick, bool automatic) {
  forms::MsSuperGrid& grid = activeLineGrid();
  if (!kit::HasLineData(grid) || !lines_) return;
  const int row = grid.Row();
  if (row < 1 || row >= grid.Rows()) return;
  const std::string_view caption =
      pick == kit::StockPick::Batch ? kit::kBatchCaption : kit::kReceiptCaption;
  if (grid.colByCaption(caption) < 0) return;
  auto line = lineRecordOf(grid, row);
  kit::PickStockForLine(stockReference(), grid, kindOf(grid), row, *line, pick, automatic,
                        kit::receiptLineMapping(pick));
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
