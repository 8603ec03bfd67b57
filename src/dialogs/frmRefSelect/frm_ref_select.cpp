#include "dialogs/frmRefSelect/frm_ref_select.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

#include "ado/record_data.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/utf8.h"
#include "automation/vb_format.h"
#include "components/archive.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "dialogs/frmRefSelect/allocation.h"
#include "dialogs/frmRefSelect/ref_layout.h"
#include "dialogs/frmRefSelect/ref_messages.h"
#include "dialogs/frmRefSelect/ref_text.h"
#include "dialogs/frmRefSelect/stock_rows.h"
#include "forms/ui_host.h"
#include "module/module_state.h"
#include "module/settings.h"

namespace quillon::dialogs {

using automation::ComError;
using automation::Variant;
using namespace ref_select;

namespace {

// Raised when the candidate query does not have the fields of the dialog's layout.
constexpr std::int32_t kErrLayout = -2147221504 + 2101;  // vbObjectError + 2101

components::AccountSettings& settingsOf() {
  if (!module::gContext) throw ComError::objectNotSet();
  auto settings = module::gContext->accountSettings();
  if (!settings) throw ComError::objectNotSet();
  return *settings;
}

std::vector<std::string> fieldNamesOf(ado::Recordset& rs) {
  std::vector<std::string> names;
  const auto& fields = rs.fields();
  const std::int32_t count = fields->count();
  names.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i)
    names.push_back(fields->item(static_cast<std::size_t>(i))->name());
  return names;
}

// Redraw off for a scope: the grid announces its changes once when it ends, even by an error.
class RedrawPaused {
 public:
  explicit RedrawPaused(forms::MsSuperGrid& grid) : grid_(grid) { grid_.setRedraw(false); }
  ~RedrawPaused() { grid_.setRedraw(true); }
  RedrawPaused(const RedrawPaused&) = delete;
  RedrawPaused& operator=(const RedrawPaused&) = delete;

 private:
  forms::MsSuperGrid& grid_;
};

}  // namespace

frmRefSelect::frmRefSelect() : Form("frmRefSelect", "参照结存", 9720, 6900) {
  hdiFree.push_back(nullptr);
  for (int i = 1; i <= 10; ++i) {
    const int col = (i - 1) % 3;
    const int line = (i - 1) / 3;
    forms::HeadItem& item =
        addElement<forms::HeadItem>("hdiFree", i, {120 + col * 3120, 1200 + line * 240, 2900, 220},
                                    "自由项" + std::to_string(i));
    item.setActive(false);
    hdiFree.push_back(&item);
  }
  hdiWhcode.setActive(false);
  hdiInvCode.setActive(false);
  chkShowMax.setValue(forms::vbChecked);

  tbrTool.addButton("ok", "确定");
  tbrTool.addButton("auto", "自动");
  tbrTool.addButton("cancel", "取消");
  tbrTool.ButtonClick = [this](forms::ToolbarButton& button) { TaskRun(button.key); };
  CTBCtrl1.ButtonClick = [this](const std::string& key) {
    if (forms::ToolbarButton* button = tbrTool.findButton(key)) TaskRun(button->key);
  };

  chkShowMax.Click = [this] {
    if (Loaded() && DataFrom) FillGrid(spgList, *DataFrom);
  };
  chkShowZero.Click = chkShowMax.Click;
  chkShowMin.Click = chkShowMax.Click;
  spgList.Click = [this] { gridClick(); };
  spgList.CellChange = [this](std::string& text, bool& cancel, int row, int col) {
    cellChange(text, cancel, row, col);
  };
  hdiQuantity.Change = [this](bool& cancel) { quantityChange(cancel); };
  hdiNum.Change = [this](bool& cancel) { piecesChange(cancel); };
  hdiExchRate.Change = [this](bool& cancel) { rateChange(cancel); };
}

frmRefSelect::~frmRefSelect() = default;

void frmRefSelect::SetToolbarIcon() {
  auto utility = components::suiteUtility();
  const std::pair<const char*, const char*> images[] = {
      {"ok", "tlbok"}, {"cancel", "tlbexit"}, {"auto", "tlbauto"}};
  for (const auto& [key, image] : images) {
    if (utility->toolbarImage(image) != 0) tbrTool.setButtonImage(key, image);
  }
}

void frmRefSelect::Form_Load() {
  SetToolbarIcon();
  const ColumnNames names = columnNamesFor(RefFrom, RefType);
  colStockName_ = names.stock;
  colStockNumName_ = names.stockNum;
  colThisName_ = names.thisQty;
  colThisNumName_ = names.thisNum;
  if (RefFrom == kStocktaking) tbrTool.setButtonEnabled("auto", false);

  components::AccountSettings& settings = settingsOf();
  qtyFormat_ = settings.text("FormatQuanDecString");
  numFormat_ = settings.text("FormatNumDecString");
  rateFormat_ = settings.text("FormatExchDecString");
  hdiQuantity.setDecimalPlaces(settings.digits("QuanDecDgt"));
  hdiNum.setDecimalPlaces(settings.digits("NumDecDgt"));
  hdiExchRate.setDecimalPlaces(settings.digits("ExchRateDecDgt"));

  checkLayout();
  loadInventory();
  showHeader();
  setActiveStates();

  const bool boxes = RefType == kRefBatch && settings.option("OverDispOut");
  chkShowMax.setEnabled(boxes);
  chkShowZero.setEnabled(boxes);
  chkShowMin.setEnabled(boxes);
  if (!boxes && RefType == kRefReturn) tbrTool.setButtonEnabled("auto", false);

  fixColumns(DataFrom->fields()->count() + 1);
  FillGrid(spgList, *DataFrom);

  const bool suiteBar = module::ToolbarStyle() == 1;
  if (suiteBar) {
    CTBCtrl1.setToolbar(&tbrTool);
    CTBCtrl1.setStyle(1);
  }
  CTBCtrl1.setVisible(suiteBar);
  tbrTool.setVisible(!suiteBar);
  module::ApplyDialogStyle(*this);
}

void frmRefSelect::checkLayout() {
  if (!DataFrom) throw ComError::objectNotSet();
  const bool withRecords = !(DataFrom->bof() && DataFrom->eof());
  if (auto problem = layoutProblem(fieldNamesOf(*DataFrom), RefFrom, RefType, withRecords)) {
    throw ComError(kErrLayout, *problem, "frmRefSelect");
  }
}

void frmRefSelect::loadInventory() {
  if (!Inventory && !InvCode.empty()) {
    auto archive = components::createAs<components::Archive>(
        components::archiveProgId(components::ArchiveKind::Inventory));
    archive->setLogin(module::gContext);
    auto item = archive->newItem();
    if (archive->load(InvCode, *item, true, false)) {
      Inventory = std::dynamic_pointer_cast<components::InventoryItem>(item);
    }
  }
  usesPieces_ = Inventory && Inventory->usesPieces();
}

void frmRefSelect::showHeader() {
  hdiWhcode.setText(WhCode);
  hdiInvCode.setText(InvCode);
  for (int i = 1; i <= 10; ++i) {
    std::string value;
    if (Free && static_cast<std::size_t>(i) <= Free->count()) {
      value = Free->item(static_cast<std::size_t>(i)).displayText();
    }
    const bool used = Inventory ? Inventory->usesFreeItem(i) : !value.empty();
    hdiFree[static_cast<std::size_t>(i)]->setText(used ? value : std::string());
    hdiFree[static_cast<std::size_t>(i)]->setVisible(used);
  }
  hdiQuantity.setText(formatQty(Quantity));
  Quantity = textNumber(hdiQuantity.Text()).value_or(0);
  hdiNum.setText(formatNum(Num));
  Num = textNumber(hdiNum.Text()).value_or(0);
  hdiExchRate.setText(formatRate(ExchRate));
  ExchRate = textNumber(hdiExchRate.Text()).value_or(0);
  remaining_ = Quantity;
  remainingNum_ = Num;
}

void frmRefSelect::setActiveStates() {
  if (usesPieces_ && RefType != kRefTrace) {
    hdiQuantity.setActive(true);
    hdiNum.setActive(true);
    hdiExchRate.setActive(true);
  } else if (usesPieces_) {
    hdiQuantity.setActive(false);
    hdiNum.setActive(true);
    hdiExchRate.setActive(false);
  } else {
    hdiNum.setText({});
    hdiQuantity.setActive(true);
    hdiNum.setActive(false);
    hdiExchRate.setActive(false);
  }
  if (RefFrom == kStocktaking) {
    hdiQuantity.setActive(false);
    hdiNum.setActive(false);
    hdiExchRate.setActive(false);
  }
}

void frmRefSelect::fixColumns(int cols) {
  colStock_ = colStockNum_ = colThis_ = colThisNum_ = 0;
  if (DataFrom->bof() && DataFrom->eof()) return;
  const ColumnOffsets offsets = offsetsFor(RefType, RefFrom);
  colThis_ = cols - offsets.thisQty;
  colStock_ = cols - offsets.stock;
  if (usesPieces_) {
    colThisNum_ = cols - offsets.thisNum;
    colStockNum_ = cols - offsets.stockNum;
  }
}

bool frmRefSelect::shows(double stock) const {
  return (chkShowMax.Value() == forms::vbChecked && stock > 0) ||
         (chkShowZero.Value() == forms::vbChecked && stock == 0) ||
         (chkShowMin.Value() == forms::vbChecked && stock < 0);
}

void frmRefSelect::resetRows() {
  rowPosition_.assign(1, 0);
  rowQty_.assign(1, 0.0);
  allocated_ = 0;
}

void frmRefSelect::FillGrid(forms::MsSuperGrid& grid, ado::Recordset& rs) {
  const RedrawPaused paused(grid);
  if (!(rs.bof() && rs.eof())) rs.moveFirst();
  const std::vector<std::string> names = fieldNamesOf(rs);
  const auto fieldCount = static_cast<int>(names.size());
  grid.setRows(1);
  grid.setCols(fieldCount + 1);
  for (int f = 0; f < fieldCount; ++f) {
    grid.setTextMatrix(f + 1, 0, names[static_cast<std::size_t>(f)]);
    grid.setColLock(f + 1, f + 1 != colThis_ && f + 1 != colThisNum_);
  }
  if (&grid == &spgList) resetRows();

  // The rows the boxes let through are bound to the grid, not copied into it: a cell is formatted
  // when it is read (a painted screen, a rule looking at a row) and what the dialog writes into
  // the grid is kept over it.
  const auto& core = *rs.core();
  const std::shared_ptr<ado::RecordData> data = core.data();
  const std::vector<std::uint32_t> view = core.viewRows();
  const std::size_t stockField = core.resolveField(std::string_view(colStockName_));
  std::vector<std::int32_t> positions;
  std::vector<std::uint32_t> rows;
  for (std::size_t i = 0; i < view.size(); ++i) {
    const Variant stockValue = data->value(view[i], stockField);
    if (!shows(stockValue.isNull() ? 0.0 : stockValue.toDouble())) continue;
    positions.push_back(static_cast<std::int32_t>(i) + 1);
    rows.push_back(view[i]);
  }
  const auto shown = static_cast<int>(rows.size());
  grid.bindRows(std::make_shared<StockRows>(
                    data, std::move(rows),
                    StockRows::Formats{colStock_, colStockNum_, qtyFormat_, numFormat_}),
                shown);
  // The cursor ends past the last record, as a fill that walked to the end leaves it.
  if (!view.empty()) {
    rs.moveLast();
    rs.moveNext();
  }
  if (&grid == &spgList) {
    rowPosition_.insert(rowPosition_.end(), positions.begin(), positions.end());
    rowQty_.resize(rowPosition_.size(), 0.0);
    if (colThis_ > 0 && static_cast<std::size_t>(colThis_) <= data->fieldCount()) {
      const auto thisField = static_cast<std::size_t>(colThis_ - 1);
      for (std::size_t row = 1; row < rowQty_.size(); ++row) {
        // What the cell shows, read back as the rules read it; a plain zero needs no text.
        const Variant v =
            data->value(view[static_cast<std::size_t>(positions[row - 1] - 1)], thisField);
        rowQty_[row] =
            v.isNumber() && v.toDouble() == 0
                ? 0.0
                : textNumber(grid.TextMatrix(colThis_, static_cast<int>(row))).value_or(0);
      }
    }
  }
}

bool frmRefSelect::piecesToo() const {
  return hdiQuantity.Active() && hdiNum.Active();
}

double frmRefSelect::cellNumber(int col, int row) const {
  if (col <= 0) return 0;
  return textNumber(spgList.TextMatrix(col, row)).value_or(0);
}

void frmRefSelect::setQtyCell(int row, const std::string& text) {
  if (colThis_ <= 0) return;
  spgList.setTextMatrix(colThis_, row, text);
  const double value = textNumber(text).value_or(0);
  const auto r = static_cast<std::size_t>(row);
  if (spgList.TextMatrix(0, row) == "Y") allocated_ += value - rowQty_[r];
  rowQty_[r] = value;
}

void frmRefSelect::RowToggle(int row) {
  if (row < 1 || row >= spgList.Rows() || colThis_ <= 0) return;
  const auto r = static_cast<std::size_t>(row);
  remaining_ = remainingAfter(Quantity, allocated_);
  // What the this-time cell held, to put back if the rule refuses the new amount; a cell still
  // showing its record's value is read only then.
  std::optional<std::string> before;
  if (!spgList.cellFromSource(colThis_, row)) before = spgList.TextMatrix(colThis_, row);
  if (spgList.TextMatrix(0, row) == "Y") {
    spgList.setTextMatrix(0, row, "");
    allocated_ -= rowQty_[r];
    remaining_ += rowQty_[r];
    if (piecesToo() && colThisNum_ > 0) {
      remainingNum_ += cellNumber(colThisNum_, row);
      spgList.setTextMatrix(colThisNum_, row, "0");
    }
    setQtyCell(row, "0");
  } else {
    spgList.setTextMatrix(0, row, "Y");
    allocated_ += rowQty_[r];
    const double sign = allocationSign(remaining_);
    if (RefFrom == kStocktaking) {
      setQtyCell(row, formatQty(cellNumber(colStock_, row) * sign));
    } else if (remaining_ != 0) {
      const Share share = shareOf(cellNumber(colStock_, row), remaining_, sign);
      setQtyCell(row, formatQty(share.take));
      remaining_ = share.remaining;
    }
    if (piecesToo() && remainingNum_ != 0 && colThisNum_ > 0) {
      const Share share = shareOf(cellNumber(colStockNum_, row), remainingNum_, sign);
      spgList.setTextMatrix(colThisNum_, row, formatNum(share.take));
      remainingNum_ = share.remaining;
    }
  }
  const std::string text = spgList.TextMatrix(colThis_, row);
  if (!applyCellRule(row, colThis_, text)) {
    setQtyCell(row, before ? *before : spgList.sourceText(colThis_, row));
    return;
  }
  const std::optional<double> qty = textNumber(text);
  if (qty && ExchRate != 0 && !piecesToo()) {
    const std::string pieces = formatNum(*qty / ExchRate);
    if (colThisNum_ > 0) spgList.setTextMatrix(colThisNum_, row, pieces);
    writeField(row, colThisNumName_, textNumber(pieces).value_or(0));
  }
}

void frmRefSelect::AutoMatch(std::string& message) {
  const bool silent = !message.empty();
  message.clear();
  spgList.setRows(1);
  resetRows();
  remaining_ = Quantity;
  remainingNum_ = Num;

  std::string rule;
  if (RefType == kRefBatch) rule = settingsOf().text("BatchOut");
  if (RefType == kRefTrace) rule = settingsOf().text("InOutTrace");
  const std::string sort = allocationSort(RefType, rule);
  if (!sort.empty()) {
    for (const std::string& field : sortFields(sort)) {
      const auto names = fieldNamesOf(*DataFrom);
      const bool present =
          std::any_of(names.begin(), names.end(), [&](const std::string& n) { return n == field; });
      if (!present) throw ComError(kErrLayout, "查询结果缺少字段[" + field + "]", "frmRefSelect");
    }
    DataFrom->setSort(sort);
  }
  FillGrid(spgList, *DataFrom);

  const int rows = spgList.Rows();
  {
    // The rows taken are announced to a drawn grid once, not row by row.
    const RedrawPaused paused(spgList);
    for (int row = 1; row < rows; ++row) {
      RowToggle(row);
      if (!MutiSel) break;
      const bool more = piecesToo()
                            ? stillWanted(Quantity, remaining_) || stillWanted(Num, remainingNum_)
                            : stillWanted(Quantity, remaining_);
      if (!more) break;
    }
  }
  report(message, silent);
}

void frmRefSelect::report(std::string& message, bool silent) {
  const bool trace = RefType == kRefTrace;
  if (!trace && RefType != kRefBatch) return;
  std::string text;
  if (DataFrom->bof() && DataFrom->eof()) {
    text = trace ? kNoReceipt : kNoBatchStock;
  } else if (remaining_ > 0) {
    text = std::string(kShortfallHead) + plainNumber(remaining_) + std::string(kShortfallTail);
  }
  if (text.empty()) return;
  if (silent) {
    message = text;
  } else {
    forms::MsgBox(text, forms::vbInformation, std::string(trace ? kTraceTitle : kBatchTitle));
  }
}

void frmRefSelect::gridClick() {
  const int row = spgList.Row();
  if (spgList.Col() != 0 || row < 1) return;
  if (!MutiSel) ClearSelection(row);
  RowToggle(row);
}

void frmRefSelect::ClearSelection(int except) {
  for (int row = 1; row < spgList.Rows(); ++row) {
    if (row != except && spgList.TextMatrix(0, row) == "Y") RowToggle(row);
  }
}

void frmRefSelect::moveToRow(int row) {
  DataFrom->setAbsolutePosition(rowPosition_[static_cast<std::size_t>(row)]);
}

void frmRefSelect::writeField(int row, const std::string& name, double value) {
  moveToRow(row);
  // The this-time fields are written for every row taken: a place found once is used again while
  // the field there still has the name.
  std::optional<std::size_t>& place = name == colThisName_ ? thisField_ : thisNumField_;
  const auto& core = *DataFrom->core();
  if (!place || *place >= core.fieldCount() || core.fieldDef(*place).name != name)
    place = core.resolveField(std::string_view(name));
  const std::size_t field = *place;
  // The grid shows the field as it was filled until the dialog writes the cell itself.
  const int col = static_cast<int>(field) + 1;
  if (col < spgList.Cols()) spgList.pinCell(col, row);
  DataFrom->setValue(Variant(static_cast<std::int32_t>(field)), Variant(value));
}

void frmRefSelect::CollectSelection() {
  std::vector<Variant> bookmarks;
  bookmarks.reserve(static_cast<std::size_t>(spgList.Rows()));
  for (int row = 1; row < spgList.Rows(); ++row) {
    if (spgList.TextMatrix(0, row) != "Y") continue;
    moveToRow(row);
    bookmarks.push_back(DataFrom->bookmark());
  }
  if (bookmarks.empty()) {
    DataFrom.reset();
  } else {
    DataFrom->setFilter(Variant::array(std::move(bookmarks)));
  }
}

void frmRefSelect::TaskRun(std::string key) {
  key = automation::utf8::asciiLower(key);
  if (key == "ok") {
    spgList.FinishEdit();
    if (DataFrom) CollectSelection();
    confirmed_ = true;
    Unload();
  } else if (key == "auto") {
    std::string message;
    AutoMatch(message);
  } else if (key == "cancel") {
    confirmed_ = false;
    Unload();
  }
}

void frmRefSelect::Form_Resize() {
  const int width = std::max(Width() - 360, 1200);
  const int height = std::max(Height() - spgList.Top() - 600, 600);
  spgList.Move(spgList.Left(), spgList.Top(), width, height);
}

void frmRefSelect::Form_Unload(int& /*Cancel*/) {
  if (!confirmed_) DataFrom.reset();
}

std::string frmRefSelect::formatQty(double v) const {
  return automation::formatNumber(v, qtyFormat_);
}

std::string frmRefSelect::formatNum(double v) const {
  return automation::formatNumber(v, numFormat_);
}

std::string frmRefSelect::formatRate(double v) const {
  return automation::formatNumber(v, rateFormat_);
}

}  // namespace quillon::dialogs
