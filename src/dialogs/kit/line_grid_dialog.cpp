#include "dialogs/kit/line_grid_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "automation/vb_runtime.h"
#include "components/marlin_login.h"
#include "components/purchase_ref_service.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "dialogs/kit/line_grid_tools.h"
#include "dialogs/kit/line_lists.h"
#include "dialogs/kit/reference_texts.h"
#include "forms/controls.h"
#include "forms/list_find.h"
#include "forms/list_scan.h"
#include "forms/list_status.h"
#include "forms/pane_border.h"
#include "forms/ui_host.h"
#include "module/list_captions.h"
#include "module/list_columns.h"
#include "module/list_helpers.h"
#include "module/lookups.h"
#include "module/module_state.h"
#include "module/vouch_lists.h"

namespace quillon::dialogs::kit {

using automation::Variant;

namespace {

constexpr std::uint32_t kGridGrey = 0xC0C0C0;  // RGB(192,192,192)

// The caption tables of a page's grids.
module::ListKind headListOf(module::LineGrid kind) {
  return kind == module::LineGrid::Delivery ? module::ListKind::DeliveryHead
                                            : module::ListKind::OrderHead;
}
module::ListKind lineListOf(module::LineGrid kind) {
  return kind == module::LineGrid::Delivery ? module::ListKind::DeliveryBody
                                            : module::ListKind::OrderBody;
}

// The current data row of a grid; 0 without one.
int currentRow(const forms::MsSuperGrid& grid) {
  const int row = grid.Row();
  return row >= 1 && row < grid.Rows() ? row : 0;
}

void toggleMark(forms::MsSuperGrid& grid) {
  if (const int row = currentRow(grid)) grid.setMarked(row, !grid.isMarked(row));
}

// The number a line cell reads as; 0 for a blank or a text that is no number.
double cellNumber(const forms::MsSuperGrid& grid, int col, int row) {
  if (const auto n = grid.sourceNumber(col, row)) return *n;
  std::string text = grid.TextMatrix(col, row);
  std::erase(text, ',');
  return automation::parseNumericText(text).value_or(0);
}

// The unit a unit barcode names: its code, its name and the main units it holds (1 without a
// rate).
struct BarcodeUnit {
  std::string code;
  std::string name;
  double rate = 1;
};

std::optional<BarcodeUnit> unitOfBarcode(const std::string& barcode) {
  if (!module::gContext) return std::nullopt;
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(Variant(UnitByBarcodeQuery(barcode)),
           Variant(automation::ObjectPtr(module::gContext->connection())), ado::adOpenStatic,
           ado::adLockReadOnly);
  if (!rs->isOpen()) return std::nullopt;
  const ado::RecordsetView view(*rs);
  std::optional<BarcodeUnit> unit;
  if (view.rowCount() > 0) {
    unit.emplace();
    unit->code = view.value(0, 0).displayText();
    unit->name = view.value(0, 1).displayText();
    if (const auto rate = view.number(0, 2); rate && *rate > 0) unit->rate = *rate;
  }
  rs->close();
  return unit;
}

}  // namespace

LineGridDialog::LineGridDialog(std::string name, std::string caption, int width, int height)
    : ReferenceDialog(std::move(name), std::move(caption), width, height,
                      forms::HandlerErrors::Prompt) {}

LineGridDialog::~LineGridDialog() = default;

void LineGridDialog::setStockReference(std::shared_ptr<StockReference> reference) {
  stockReference_ = std::move(reference);
}

StockReference& LineGridDialog::stockReference() const {
  if (!stockReference_) throw automation::ComError::objectNotSet();
  return *stockReference_;
}

components::PurchaseRefService& LineGridDialog::service() const {
  if (!service_) throw automation::ComError::objectNotSet();
  return *service_;
}

void LineGridDialog::bindLineDialog(const Controls& controls, std::vector<Page> pages,
                                    Manner manner) {
  controls_.emplace(controls);
  pages_ = std::move(pages);
  manner_ = manner;
  const Controls& c = *controls_;
  bindFilterFields(c.lookupButton, true);
  bindButtons(c.ok, c.cancel);
  c.showLines.setValue(forms::vbChecked);
  c.lineMenu.setVisible(false);
  // Each line shows its head's number under the caption the head list gives the number; the line
  // menu shows or hides that column.
  std::vector<forms::RowLabels*> numbered;
  for (Page& page : pages_) {
    if (page.headNumber.empty()) continue;
    const auto caption = module::captionOf(headListOf(page.kind), page.headNumber, 0);
    page.lines.setRowLabelColumn(caption.value_or(std::string(page.headNumber)));
    numbered.push_back(&page.lines);
  }
  if (!numbered.empty()) bindHeadNumbers({&c.lineMenu}, std::move(numbered));
  // The line menu serves the line grid of the page shown.
  addExportItem(c.lineMenu, [this] { return &shownPage().lines; });

  // Errors of the filter and of the listing of lines are not the dialog's to handle: they end it
  // and reach the owner's trap.
  constexpr auto query = forms::HandlerErrors::Propagate;
  c.showLines.Click = handler(query, [this] {
    if (ready_) showLines();
  });
  c.showClosed.Click = handler([this] {
    if (service_) service_->setShowClosed(controls_->showClosed.Value() == forms::vbChecked);
  });
  for (Page& page : pages_) {
    forms::MsSuperGrid& heads = page.heads;
    forms::MsSuperGrid& lines = page.lines;
    heads.MouseUp =
        handler(query, [this, &heads](int button, int, int, int) { headMouseUp(heads, button); });
    lines.MouseUp =
        handler([this, &lines](int button, int, int, int) { lineMouseUp(lines, button); });
    lines.CellChange = handler([this, &lines](std::string& text, bool& cancel, int row, int col) {
      cellChanged(lines, text, cancel, row, col);
    });
    lines.CellButtonClick =
        handler([this, &lines](int row, int col) { cellButton(lines, row, col); });
    lines.StatusLine = [this, &lines] { return lineStatus(lines); };
    // An emptied grid starts its scan counts afresh.
    lines.propertyChanged.connect([this, &lines](forms::Control&, std::string_view property) {
      if (property == "Rows" && lines.Rows() <= 1) scanned_.erase(&lines);
    });
    lines.Scan = handler(
        [this, &lines](const std::string& text, int& found) { scanLine(lines, text, found); });
  }
  for (Page& page : pages_) {
    exportMenuOn(page.heads);
    // The person may give the heads more room (or the lines), by the border between them.
    forms::addSplitter(*this, page.heads.Name() + "Split", page.heads, page.lines);
  }
  c.copyLine.Click = handler([this] { CopyCurrentRow(shownPage().lines); });
  c.clearMarks.Click = handler([this] {
    for (Page& page : pages_) ClearMarks(page.lines);
  });
  // The line leaves the list as a split line does: hidden, so it is never returned.
  c.hideLine.Click = handler([this] { HideCurrentRow(shownPage().lines); });
}

const LineGridDialog::Page& LineGridDialog::pageOf(const forms::MsSuperGrid& lines) const {
  for (const Page& page : pages_) {
    if (&page.lines == &lines) return page;
  }
  throw automation::ComError::objectNotSet();
}

void LineGridDialog::clearLayoutFlags() {
  module::gHeadLayoutDone = false;
  module::gBodyLayoutDone = false;
}

// ---- loading and unloading

void LineGridDialog::Form_Load() {
  ReferenceDialog::Form_Load();
  ready_ = true;
}

void LineGridDialog::loadDialog() {
  service_ =
      components::createAs<components::PurchaseRefService>(components::kPurchaseRefServiceProgId);
  departments_ = module::gContext->permissionList("department", "", "W");
  warehouses_ = module::gContext->permissionList("warehouse", "", "W");
  inventories_ = module::gContext->permissionList("inventory", "", "W");
  // The account's number formats, read once: every fill of a grid uses them.
  formats_ = module::CurrentGridFormats();
  for (Page& page : pages_) {
    page.heads.setBackColor(kGridGrey);
    page.lines.setBackColor(kGridGrey);
  }
  if (const auto login = module::gContext->login()) {
    controls_->date.setText(automation::Format(Variant(login->loginDate()), "YYYY-MM-DD"));
  }
  loadLineDialog();
  service_->setShowClosed(false);
}

void LineGridDialog::Form_Unload(int& /*Cancel*/) {
  ready_ = false;
  handToOwner(nullptr);
  clearLayoutFlags();
  forgetRows();
}

void LineGridDialog::forgetRows() {
  heads_.reset();
  lines_.reset();
}

void LineGridDialog::linesListed(Page& /*page*/) {}

// ---- filter, heads and lines

void LineGridDialog::filter() {
  const auto busyPointer = busy();
  rememberFilter();
  {
    // Drawn for a person, the heads show their first screen while the rest loads.
    const ado::ProgressiveOpens firstScreen(module::ShownListFirstRows());
    heads_ = queryHeads();
  }
  forms::MsSuperGrid& grid = shownPage().heads;
  bool filled = false;
  module::FillGridFromRecordset(grid, module::LineGrid::None, *heads_, filled, nullptr, false,
                                formats_);
  // A grid showing rows has its first data row current, as a person sees it drawn: what goes by
  // the current row (OK's head check, the pickers) reads the same headless and drawn.
  // (Rows read so far: heads still loading have their first screen, and leave the rest loading.)
  grid.setRow(grid.shownRows() > 1 ? 1 : 0);
  module::gHeadLayoutDone = false;
  module::SetListColumns(grid, headListOf(shownPage().kind));
  clearLayoutFlags();
  showLines();
}

void LineGridDialog::appendLinesOf(int headRow, bool singleHead) {
  Page& page = shownPage();
  const int keyColumn = module::ColumnIndexOf(page.headKey, *heads_, page.heads.Cols());
  if (keyColumn <= 0) return;
  lines_ = queryLines(Variant(page.heads.TextMatrix(keyColumn, headRow)).toLong(), singleHead);
  forms::MsSuperGrid& lines = page.lines;
  if (lines.Rows() <= 1) module::gBodyLayoutDone = false;
  const int firstAdded = std::max(lines.Rows(), 1);
  bool filled = false;
  module::FillGridFromRecordset(lines, page.kind, *lines_, filled, nullptr, true, formats_);
  // The lines just added came from this head: they show its number, read from the head row.
  if (!lines.rowLabelCaption().empty()) {
    const int numberColumn = module::ColumnIndexOf(page.headNumber, *heads_, page.heads.Cols());
    const std::string number =
        numberColumn > 0 ? page.heads.TextMatrix(numberColumn, headRow) : std::string();
    const auto redraw = forms::redrawPaused(lines);
    for (int row = firstAdded; row < lines.Rows(); ++row) lines.setRowLabel(row, number);
  }
  if (lines.Row() == 0 && lines.Rows() > 1) lines.setRow(1);
  module::SetListColumns(lines, lineListOf(page.kind));
  linesListed(page);
}

void LineGridDialog::showLines() {
  const auto busyPointer = busy();
  Page& page = shownPage();
  EmptyGrid(page.lines);
  if (controls_->showLines.Value() == forms::vbChecked && heads_) {
    // A mark is only ever on a row read: marking one past them reads them all first. So the rows
    // read so far hold every mark, and heads still loading go on loading.
    for (int row = 1; row < page.heads.shownRows(); ++row) {
      if (page.heads.isMarked(row)) appendLinesOf(row, false);
    }
  }
  if (page.lines.Rows() <= 1) module::gBodyLayoutDone = false;
}

void LineGridDialog::headMouseUp(forms::MsSuperGrid& heads, int button) {
  if (button != forms::vbLeftButton) return;
  const int row = currentRow(heads);
  if (row == 0) return;
  const auto busyPointer = busy();
  toggleMark(heads);
  if (controls_->showLines.Value() != forms::vbChecked) return;
  if (!heads.isMarked(row)) {
    showLines();
    return;
  }
  appendLinesOf(row, true);
}

// ---- the line grids

void LineGridDialog::lineMouseUp(forms::MsSuperGrid& lines, int button) {
  if (button == forms::vbRightButton) {
    PopupMenu(controls_->lineMenu);
    return;
  }
  if (button != forms::vbLeftButton) return;
  // A click into a cell the person may edit is meant for the figure, not for the mark: the line
  // is kept (or becomes) marked and the edit starts. The mark column, Space and the cells a person
  // cannot edit toggle the mark.
  const int row = currentRow(lines);
  const int col = lines.Col();
  if (row != 0 && lines.cellEditable(row, col) && !lines.pendingEdit()) {
    if (!lines.isMarked(row)) lines.setMarked(row, true);
    lines.userBeginEdit(row, col);
    return;
  }
  toggleMark(lines);
}

void LineGridDialog::scanLine(forms::MsSuperGrid& lines, const std::string& text, int& found) {
  found = 0;
  const auto entry = forms::parseScan(text);
  const module::LineColumnCaptions* computed = module::lineColumnCaptions(pageOf(lines).kind);
  const int qtyCol = lines.Cols() - 2;
  if (!entry || !lines_ || computed == nullptr || !HasLineData(lines) || qtyCol < 1 ||
      lines.TextMatrix(qtyCol, 0) != computed->thisQuantity) {
    forms::Beep();
    return;
  }
  const std::string& code = entry->code;
  // An item code or a batch first, from the current line on, so repeated scans of one item keep
  // adding to the same line.
  std::optional<int> row = forms::findRowWhere(lines, false, [&](int r) {
    return automation::equalsNoCase(lineCell(lines, r, "cinvcode"), code) ||
           automation::equalsNoCase(lineCell(lines, r, "cbatch"), code);
  });
  double perCount = 1;
  if (!row) {
    // A unit barcode names a unit: the first line counted in that unit takes the count in it.
    if (const auto unit = unitOfBarcode(code)) {
      const int unitCol = lines.colByCaption(kStockUnitCaption);
      row = forms::findRowWhere(lines, false, [&](int r) {
        const std::string pieces = lineCell(lines, r, "cinva_unit");
        const std::string shown = unitCol > 0 ? lines.TextMatrix(unitCol, r) : std::string();
        return automation::equalsNoCase(pieces, unit->code) || shown == unit->name ||
               automation::equalsNoCase(shown, unit->code);
      });
      perCount = unit->rate;
    }
  }
  if (!row || !lines.cellEditable(*row, qtyCol)) {
    forms::Beep();
    return;
  }
  forms::locateRow(lines, *row);
  // The figure a line shows before its first scan is the one the dialog proposes (what is still
  // open); the first scan replaces it with what was counted, later scans add to it.
  const bool first = scanned_[&lines].insert(*row).second;
  const double before = cellNumber(lines, qtyCol, *row);
  const double wanted = (first ? 0 : before) + entry->count * perCount;
  const bool wasMarked = lines.isMarked(*row);
  if (!wasMarked) lines.setMarked(*row, true);
  // Through the grid's own rules, as a typed figure: a refusal says why and keeps the cell.
  char typed[32];
  std::snprintf(typed, sizeof typed, "%.10g", wanted);
  editCell(lines, *row, qtyCol, typed);
  if (std::abs(cellNumber(lines, qtyCol, *row) - wanted) > 1e-9 * std::max(1.0, std::abs(wanted))) {
    if (!wasMarked) lines.setMarked(*row, false);
    if (first) scanned_[&lines].erase(*row);
    return;
  }
  found = *row;
}

std::string LineGridDialog::lineStatus(const forms::MsSuperGrid& lines) const {
  std::string text = lines.rowsStatus();
  const module::LineColumnCaptions* computed = nullptr;
  for (const Page& page : pages_) {
    if (&page.lines == &lines) computed = module::lineColumnCaptions(page.kind);
  }
  const int cols = lines.Cols();
  if (computed == nullptr || lines.Rows() <= 1 || cols < 3) return text;
  const int qtyCol = lines.TextMatrix(cols - 2, 0) == computed->thisQuantity ? cols - 2 : 0;
  const int numCol = lines.TextMatrix(cols - 1, 0) == computed->thisPieces ? cols - 1 : 0;
  double quantity = 0;
  double pieces = 0;
  for (int row = 1; row < lines.Rows(); ++row) {
    if (lines.RowHeight(row) == 0 || !lines.isMarked(row)) continue;
    if (qtyCol != 0) quantity += cellNumber(lines, qtyCol, row);
    if (numCol != 0) pieces += cellNumber(lines, numCol, row);
  }
  if (qtyCol != 0) {
    text +=
        "，本次数量合计 " + automation::NumberFormat(formats_.quantityPattern()).format(quantity);
  }
  if (numCol != 0) {
    text += "，本次件数合计 " + automation::NumberFormat(formats_.piecesPattern()).format(pieces);
  }
  return text;
}

void LineGridDialog::cellChanged(forms::MsSuperGrid& grid, std::string& text, bool& cancel, int row,
                                 int col) {
  const std::string old = grid.TextMatrix(col, row);
  if (text == old || !lines_) return;
  const module::LineGrid kind = pageOf(grid).kind;
  const module::LineColumnCaptions* computed = module::lineColumnCaptions(kind);
  const std::string caption = grid.TextMatrix(col, 0);
  const LineEdit edit{grid,
                      kind,
                      row,
                      col,
                      caption,
                      old,
                      computed && caption == computed->thisQuantity && col == grid.Cols() - 2,
                      computed && caption == computed->thisPieces && col == grid.Cols() - 1,
                      caption == kExpiryCaption || caption == kMadeCaption};
  if (edit.dateColumn && !text.empty() && !automation::IsDate(Variant(text))) {
    forms::MsgBox(std::string(module::kDateFormatMessage), forms::vbCritical,
                  std::string(module::kDateFormatTitle));
    cancel = true;
    return;
  }
  lineCellChange(edit, text, cancel);
}

void LineGridDialog::editCell(forms::MsSuperGrid& grid, int row, int col, std::string text) {
  bool cancel = false;
  cellChanged(grid, text, cancel, row, col);
  if (!cancel) grid.setTextMatrix(col, row, text);
}

void LineGridDialog::cellButton(forms::MsSuperGrid& grid, int row, int col) {
  if (!lines_) return;
  std::string chosen;
  if (ChooseLineListValue(grid, *lines_, row, col, chosen)) {
    editCell(grid, row, col, chosen);
    return;
  }
  lineCellButton(grid, row, col);
}

std::vector<std::string> LineGridDialog::editWithUnitRoutine(forms::MsSuperGrid& grid, int row,
                                                             int col, const std::string& text,
                                                             bool& cancel) {
  return EditWithUnitRoutine(grid, pageOf(grid).kind, *lines_, row, col, text, formats_, cancel);
}

int LineGridDialog::lineColumn(std::string_view field) const {
  return LineFieldColumn(lines_.get(), field);
}

std::string LineGridDialog::lineCell(const forms::MsSuperGrid& grid, int row,
                                     std::string_view field) const {
  return LineFieldCell(grid, lines_.get(), row, field);
}

double LineGridDialog::lineNumber(const forms::MsSuperGrid& grid, int row,
                                  std::string_view field) const {
  return LineFieldNumber(grid, lines_.get(), row, field);
}

std::shared_ptr<ado::Recordset> LineGridDialog::lineRecordOf(const forms::MsSuperGrid& grid,
                                                             int row) const {
  return LineRecordOf(grid, pageOf(grid).kind, *lines_, row);
}

// ---- pickers

PickResult LineGridDialog::pickForLine(forms::MsSuperGrid& grid, int row, StockPick pick,
                                       bool automatic) {
  auto line = lineRecordOf(grid, row);
  return PickStockForLine(stockReference(), grid, pageOf(grid).kind, row, *line, pick, automatic,
                          receiptLineMapping(pick));
}

void LineGridDialog::pickForCurrentLine(StockPick pick, bool automatic) {
  forms::MsSuperGrid& grid = shownPage().lines;
  if (!HasLineData(grid) || !lines_) {
    forms::Beep();
    return;
  }
  const int row = currentRow(grid);
  if (row == 0 || grid.RowHeight(row) == 0) return;
  if (grid.colByCaption(pick == StockPick::Batch ? kBatchCaption : kReceiptCaption) < 0) return;
  pickForLine(grid, row, pick, automatic);
}

void LineGridDialog::Form_KeyDown(int& KeyCode, int Shift) {
  ReferenceDialog::Form_KeyDown(KeyCode, Shift);
  if (Shift != forms::vbCtrlMask || (KeyCode != 'B' && KeyCode != 'Q')) return;
  const StockPick pick = KeyCode == 'B' ? StockPick::Batch : StockPick::ReceiptVoucher;
  KeyCode = 0;
  runHandler([this, pick] { pickForCurrentLine(pick, manner_.keysAllocate); });
}

// ---- OK and cancel

std::optional<std::string> LineGridDialog::completeLine(ado::Recordset& /*record*/,
                                                        const module::GridRowRecord& /*read*/) {
  return std::nullopt;
}

void LineGridDialog::completeHead(ado::Recordset& /*record*/) {}

void LineGridDialog::addResults(automation::Collection& /*results*/) {}

std::shared_ptr<ado::Recordset> LineGridDialog::collect(
    forms::MsSuperGrid& grid, module::LineGrid kind, const std::shared_ptr<ado::Recordset>& source,
    std::optional<std::string>* refusal) {
  if (!source || !source->isOpen()) return nullptr;
  auto copy = components::suiteUtility()->copyStructure(*source);
  module::CollectMarkedRows(grid, kind, *copy, 0, [&](const module::GridRowRecord& read) {
    if (kind == module::LineGrid::None) {
      completeHead(*copy);
    } else if (!*refusal) {
      *refusal = completeLine(*copy, read);
    }
  });
  return copy;
}

void LineGridDialog::okClicked() {
  for (Page& page : pages_) page.lines.FinishEdit();
  if (forms::MsgBox(std::string(kConfirmMessage), forms::vbYesNo | forms::vbQuestion,
                    std::string(manner_.confirmTitle)) != forms::vbYes) {
    return;
  }
  Page& page = shownPage();
  if (page.heads.Row() == 0) {
    prompt(std::string(noHeadMessage()), forms::vbCritical);
    return;
  }
  forms::CheckBox& showLinesBox = controls_->showLines;
  if (showLinesBox.Value() != forms::vbChecked) {
    const auto redraw = forms::redrawPaused(page.lines);
    showLinesBox.setValue(forms::vbChecked);
  }
  std::optional<std::string> refusal;
  const auto body = collect(page.lines, page.kind, lines_, &refusal);
  if (refusal) {
    prompt(*refusal, forms::vbOKOnly);
    return;
  }
  if (!body || body->recordCount() == 0) return refuseNothingChosen(kRecordsWhat);
  const auto head = collect(page.heads, module::LineGrid::None, heads_, nullptr);
  if (!head || head->recordCount() == 0) return refuseNothingChosen(kRecordsWhat);

  auto results = std::make_shared<automation::Collection>();
  results->add(item(head), "Head");
  results->add(item(body), "Body");
  results->add(Variant(controls_->date.Text()), "Date");
  addResults(*results);
  handToOwner(results);
  saveChoices();
  clearLayoutFlags();
  Hide();
}

void LineGridDialog::cancelClicked() {
  clearLayoutFlags();
  Unload();
}

}  // namespace quillon::dialogs::kit
