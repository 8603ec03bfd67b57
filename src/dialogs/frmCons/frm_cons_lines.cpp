// The line tools of frmCons: the edit rules of the delivery-line cells, the pickers of their cell
// buttons and the bulk assignments over all lines.
#include <string>
#include <vector>

#include "ado/recordset.h"
#include "automation/vb_runtime.h"
#include "automation/vb_strings.h"
#include "components/session_context.h"
#include "dialogs/frmCons/cons_messages.h"
#include "dialogs/frmCons/cons_rules.h"
#include "dialogs/frmCons/frm_cons.h"
#include "dialogs/kit/line_grid_tools.h"
#include "dialogs/kit/reference_texts.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace cons;

double frmCons::lineTotal(int row) const {
  const std::string line = lineCell(lstFhdBody, row, "autoid");
  const int thisCol = lstFhdBody.Cols() - 2;
  double total = 0;
  for (int r = 1; r < lstFhdBody.Rows(); ++r) {
    if (lstFhdBody.RowHeight(r) == 0 || lineCell(lstFhdBody, r, "autoid") != line) continue;
    total += module::ToNumber(Variant(lstFhdBody.TextMatrix(thisCol, r)));
  }
  return total;
}

// ---- edit rules

void frmCons::lineCellChange(const LineEdit& edit, std::string& text, bool& cancel) {
  // 1. Dates: the kit refused what is no date; a date stands as typed.
  if (edit.dateColumn) return;
  if (edit.thisQuantity || edit.thisPieces) {
    // Refused until the rules have accepted it, so that an error on the way refuses it too.
    cancel = true;
    cancel = !thisTimeEdit(edit, text);
    return;
  }
  // 4. A new stock unit brings its rate and this time's pieces.
  if (edit.caption == kit::kStockUnitCaption) {
    editWithUnitRoutine(edit.grid, edit.row, edit.col, text, cancel);
  }
}

// Rules 2 to 4 for this time's quantity or pieces; false when refused, the row as it was.
bool frmCons::thisTimeEdit(const LineEdit& edit, const std::string& text) {
  forms::MsSuperGrid& grid = edit.grid;
  const int row = edit.row;
  if (!automation::IsNumeric(Variant(text)) && !automation::Trim(text).empty()) {
    prompt(std::string(kit::kNotANumber), forms::vbExclamation);
    return false;
  }
  const double value = module::ToNumber(Variant(text));
  const double lineQuantity = lineNumber(grid, row, "iquantity");
  // 2. The sign of the delivery line.
  if (auto refusal = signRefusal(edit.thisPieces, value, lineQuantity)) {
    prompt(*refusal, forms::vbOKOnly);
    return false;
  }
  // 4. Pieces and quantity follow each other through the line's rate.
  bool failed = false;  // an error of the routine reaches the caller, which refuses the edit
  const std::vector<std::string> before = editWithUnitRoutine(grid, row, edit.col, text, failed);
  // 3. Everything this time takes of the delivery line, its copies and split rows included.
  DeliveryLineFigures figures;
  figures.quantity = lineQuantity;
  figures.issued = lineNumber(grid, row, "foutquantity");
  figures.excess = lineNumber(grid, row, "foutexcess");
  figures.open = module::ToNumber(Variant(grid.TextMatrix(grid.Cols() - 4, row)));
  auto& settings = module::CurrentAccountSettings();
  if (auto refusal = issueLimitRefusal(lineTotal(row), figures, settings.option("OverDispOut"),
                                       settings.text("FormatQuanDecString"))) {
    kit::RestoreRow(grid, row, before);
    prompt(*refusal, forms::vbOKOnly);
    return false;
  }
  return true;
}

void frmCons::lineCellButton(forms::MsSuperGrid& grid, int row, int col) {
  const std::string caption = grid.TextMatrix(col, 0);
  if (caption != kit::kBatchCaption && caption != kit::kReceiptCaption) return;
  grid.setRow(row);
  pickForCurrentLine(
      caption == kit::kBatchCaption ? kit::StockPick::Batch : kit::StockPick::ReceiptVoucher,
      false);
}

// ---- bulk assignments

void frmCons::assignAllLines(kit::StockPick pick) {
  forms::MsSuperGrid& grid = lstFhdBody;
  if (!kit::HasLineData(grid) || !lines()) {
    forms::Beep();
    return;
  }
  const bool batches = pick == kit::StockPick::Batch;
  const std::string_view start = batches ? kBulkBatchStart : kBulkReceiptStart;
  const auto mapping = kit::receiptLineMapping(pick);
  const auto busyPointer = busy();
  kit::BulkStockRun run(stockReference(), pick);
  std::string collected;
  // The lines as they stand when the run begins; the rows a split adds are its result.
  const int rows = grid.Rows();
  for (int row = 1; row < rows; ++row) {
    if (grid.RowHeight(row) == 0) continue;
    if (module::ToNumber(Variant(grid.TextMatrix(grid.Cols() - 2, row))) == 0) continue;
    std::string message(start);
    if (!batches && lineNumber(grid, row, "iquantity") < 0) {
      message = std::string(kRedLineByHand);
    } else {
      auto line = lineRecordOf(grid, row);
      run.assign(grid, module::LineGrid::Delivery, row, *line, mapping, message);
    }
    collectBulkMessage(collected, message, start);
  }
  run.finish();
  if (!collected.empty()) {
    forms::MsgBox(collected, forms::vbOKOnly,
                  std::string(batches ? kBulkBatchTitle : kBulkReceiptTitle));
  }
}

}  // namespace quillon::dialogs
