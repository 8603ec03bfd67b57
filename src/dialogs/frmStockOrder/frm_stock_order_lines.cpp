// The line tools of frmStockOrder: the edit rules of the order and arrival-note line cells, the
// warehouse and return pickers of their cell buttons, and the receiving warehouse.
#include <string>
#include <vector>

#include "ado/recordset.h"
#include "automation/vb_strings.h"
#include "components/session_context.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "dialogs/frmStockOrder/stock_order_messages.h"
#include "dialogs/frmStockOrder/stock_order_rules.h"
#include "dialogs/kit/line_grid_tools.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace stock_order;

// ---- edit rules

void frmStockOrder::lineCellChange(const LineEdit& edit, std::string& text, bool& cancel) {
  forms::MsSuperGrid& grid = edit.grid;
  const int row = edit.row;
  const bool orders = edit.kind == module::LineGrid::Order;
  const auto refuse = [&](const std::string& message, int flags) {
    prompt(message, flags);
    cancel = true;
  };

  // 2. The warehouse of a line: fixed once a receipt voucher is assigned, else checked.
  if (edit.caption == kit::kWarehouseCaption) {
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
  const bool thisTime = edit.thisQuantity || edit.thisPieces;
  const double value = thisTime ? module::ToNumber(Variant(text)) : 0.0;
  // 3. Floating units on order lines: the pieces' sign first.
  if (orders && edit.thisQuantity) {
    const double pieces = module::ToNumber(Variant(grid.TextMatrix(grid.Cols() - 1, row)));
    if (auto message =
            piecesSignFirst(static_cast<int>(lineNumber(grid, row, "igrouptype")), value, pieces)) {
      return refuse(*message, forms::vbExclamation);
    }
  }
  // 4. A receipt voucher typed over another one no longer links to that one's line.
  if (edit.caption == kit::kReceiptCaption && !edit.old.empty()) {
    if (const int c = lineColumn("icorid"); c > 0) grid.setTextMatrix(c, row, "");
  }

  // 5. The unit routine on the edited line; what the rules below refuse puts the row back.
  const std::vector<std::string> before = editWithUnitRoutine(grid, row, edit.col, text, cancel);
  if (!thisTime) return;
  std::optional<std::string> refusal;
  auto& settings = module::CurrentAccountSettings();
  if (orders) {
    OrderLineFigures figures;
    figures.received = lineNumber(grid, row, "ireceivedqty");
    figures.receivedPieces = lineNumber(grid, row, "ireceivednum");
    // The grid shows what is still due (the order less what arrival notes carry), so the order
    // quantity is that and the arrived quantity together.
    figures.orderQuantity = lineNumber(grid, row, "iquantity") + lineNumber(grid, row, "iarrqty");
    figures.excess = lineNumber(grid, row, "finexcess");
    figures.openQuantity = module::ToNumber(Variant(grid.TextMatrix(grid.Cols() - 4, row)));
    refusal = orderLineEdit(edit.thisPieces, value, figures, settings.option("OverOrder"),
                            settings.text("FormatQuanDecString"));
  } else {
    const int openCol = edit.thisQuantity ? grid.Cols() - 4 : grid.Cols() - 3;
    refusal = arrivalLineEdit(
        edit.thisPieces, value, module::ToNumber(Variant(edit.old)),
        module::ToNumber(Variant(grid.TextMatrix(openCol, row))),
        settings.text(edit.thisPieces ? "FormatNumDecString" : "FormatQuanDecString"));
  }
  if (refusal) {
    kit::RestoreRow(grid, row, before);
    refuse(*refusal, forms::vbExclamation);
  }
}

void frmStockOrder::lineCellButton(forms::MsSuperGrid& grid, int row, int col) {
  const std::string caption = grid.TextMatrix(col, 0);
  if (caption == kit::kWarehouseCaption) {
    std::string code;
    std::string name;
    if (pickWarehouse(code, name)) editCell(grid, row, col, name);
    return;
  }
  const bool batch = caption == kit::kBatchCaption;
  if (!batch && caption != kit::kReceiptCaption) return;
  // The buttons pick for returns; a receipt takes what arrives.
  if (module::ToNumber(Variant(grid.TextMatrix(grid.Cols() - 2, row))) >= 0) return;
  pickForLine(grid, row, batch ? kit::StockPick::Batch : kit::StockPick::ReceiptVoucher, false);
}

// ---- receiving warehouse

bool frmStockOrder::pickWarehouse(std::string& code, std::string& name) {
  const std::string query = module::LookupQuery("rfwarehouse", txtWh.Text(), warehouses());
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
  forms::MsSuperGrid& grid = shownPage().lines;
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
  if (!lines() || nameCol <= 0) return;
  for (int row = 1; row < grid.Rows(); ++row) {
    // A line tracked to its receipt voucher keeps that voucher's warehouse.
    if (!lineCell(grid, row, "cinvouchcode").empty()) continue;
    grid.setTextMatrix(nameCol, row, check.name);
    if (codeCol > 0) grid.setTextMatrix(codeCol, row, check.code);
  }
}

}  // namespace quillon::dialogs
