// The line tools of frmCons: the edit rules of the line cells, the pop-up menu, the batch and
// receipt-voucher pickers of one line and the bulk assignments over all lines.
#include <string>
#include <vector>

#include "ado/recordset.h"
#include "automation/com_error.h"
#include "automation/vb_runtime.h"
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

namespace {

// This time's columns of the delivery line grid.
constexpr std::string_view kThisQuantityCaption = "本次出库数量";
constexpr std::string_view kThisPiecesCaption = "本次出库件数";

}  // namespace

std::string frmCons::lineCell(int row, std::string_view field) const {
  return kit::LineFieldCell(lstFhdBody, lines_.get(), row, field);
}

double frmCons::lineNumber(int row, std::string_view field) const {
  return kit::LineFieldNumber(lstFhdBody, lines_.get(), row, field);
}

kit::StockReference& frmCons::stockReference() const {
  if (!stockReference_) throw automation::ComError::objectNotSet();
  return *stockReference_;
}

double frmCons::lineTotal(int row) const {
  const std::string line = lineCell(row, "autoid");
  const int thisCol = lstFhdBody.Cols() - 2;
  double total = 0;
  for (int r = 1; r < lstFhdBody.Rows(); ++r) {
    if (lstFhdBody.RowHeight(r) == 0 || lineCell(r, "autoid") != line) continue;
    total += module::ToNumber(Variant(lstFhdBody.TextMatrix(thisCol, r)));
  }
  return total;
}

// ---- marks and the pop-up menu

void frmCons::lineMouseUp(int button) {
  if (button == forms::vbRightButton) {
    PopupMenu(mnuYJCD);
    return;
  }
  if (button != forms::vbLeftButton) return;
  const int row = lstFhdBody.Row();
  if (row < 1 || row >= lstFhdBody.Rows()) return;
  lstFhdBody.setMarked(row, !lstFhdBody.isMarked(row));
}

// ---- edit rules

void frmCons::lineCellChange(std::string& text, bool& cancel, int row, int col) {
  forms::MsSuperGrid& grid = lstFhdBody;
  const std::string old = grid.TextMatrix(col, row);
  if (text == old || !lines_) return;
  const std::string caption = grid.TextMatrix(col, 0);

  // 1. Dates.
  if (caption == kit::kExpiryCaption || caption == kit::kMadeCaption) {
    if (!text.empty() && !automation::IsDate(Variant(text))) {
      forms::MsgBox(std::string(module::kDateFormatMessage), forms::vbCritical,
                    std::string(module::kDateFormatTitle));
      cancel = true;
    }
    return;
  }
  const bool thisQuantity = caption == kThisQuantityCaption && col == grid.Cols() - 2;
  const bool thisPieces = caption == kThisPiecesCaption && col == grid.Cols() - 1;
  if (thisQuantity || thisPieces) {
    // Refused until the rules have accepted it, so that an error on the way refuses it too.
    cancel = true;
    cancel = !thisTimeEdit(text, thisPieces, row, col);
    return;
  }
  // 4. A new stock unit brings its rate and this time's pieces.
  if (caption == kit::kStockUnitCaption) {
    kit::EditWithUnitRoutine(grid, module::LineGrid::Delivery, *lines_, row, col, text, formats_,
                             cancel);
  }
}

// Rules 2 to 4 for this time's quantity or pieces; false when refused, the row as it was.
bool frmCons::thisTimeEdit(const std::string& text, bool pieces, int row, int col) {
  forms::MsSuperGrid& grid = lstFhdBody;
  if (!automation::IsNumeric(Variant(text)) && !automation::Trim(text).empty()) {
    prompt(std::string(kit::kNotANumber), forms::vbExclamation);
    return false;
  }
  const double value = module::ToNumber(Variant(text));
  const double lineQuantity = lineNumber(row, "iquantity");
  // 2. The sign of the delivery line.
  if (auto refusal = signRefusal(pieces, value, lineQuantity)) {
    prompt(*refusal, forms::vbOKOnly);
    return false;
  }
  // 4. Pieces and quantity follow each other through the line's rate.
  bool failed = false;  // an error of the routine reaches the caller, which refuses the edit
  const std::vector<std::string> before = kit::EditWithUnitRoutine(
      grid, module::LineGrid::Delivery, *lines_, row, col, text, formats_, failed);
  // 3. Everything this time takes of the delivery line, its copies and split rows included.
  DeliveryLineFigures figures;
  figures.quantity = lineQuantity;
  figures.issued = lineNumber(row, "foutquantity");
  figures.excess = lineNumber(row, "foutexcess");
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

void frmCons::lineCellButton(int row, int col) {
  if (!lines_) return;
  std::string chosen;
  if (kit::ChooseLineListValue(lstFhdBody, *lines_, row, col, chosen)) {
    bool cancel = false;
    lineCellChange(chosen, cancel, row, col);
    if (!cancel) lstFhdBody.setTextMatrix(col, row, chosen);
    return;
  }
  const std::string caption = lstFhdBody.TextMatrix(col, 0);
  if (caption != kit::kBatchCaption && caption != kit::kReceiptCaption) return;
  lstFhdBody.setRow(row);
  pickForCurrentLine(caption == kit::kBatchCaption ? kit::StockPick::Batch
                                                   : kit::StockPick::ReceiptVoucher);
}

// ---- pickers

void frmCons::pickForCurrentLine(kit::StockPick pick) {
  forms::MsSuperGrid& grid = lstFhdBody;
  if (!kit::HasLineData(grid) || !lines_) {
    forms::Beep();
    return;
  }
  const int row = grid.Row();
  if (row < 1 || row >= grid.Rows() || grid.RowHeight(row) == 0) return;
  if (grid.colByCaption(pick == kit::StockPick::Batch ? kit::kBatchCaption : kit::kReceiptCaption) <
      0) {
    return;
  }
  auto line = kit::LineRecordOf(grid, module::LineGrid::Delivery, *lines_, row);
  kit::PickStockForLine(stockReference(), grid, module::LineGrid::Delivery, row, *line, pick, false,
                        kit::receiptLineMapping(pick));
}

void frmCons::assignAllLines(kit::StockPick pick) {
  forms::MsSuperGrid& grid = lstFhdBody;
  if (!kit::HasLineData(grid) || !lines_) {
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
    if (!batches && lineNumber(row, "iquantity") < 0) {
      message = std::string(kRedLineByHand);
    } else {
      auto line = kit::LineRecordOf(grid, module::LineGrid::Delivery, *lines_, row);
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
