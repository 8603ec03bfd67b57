#include "dialogs/frmRefSelect/frm_ref_select.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/shown_rounding.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "components/archive.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "dialogs/frmRefSelect/ref_select_messages.h"
#include "dialogs/frmRefSelect/ref_select_queries.h"
#include "dialogs/frmRefSelect/ref_select_rules.h"
#include "forms/field_captions.h"
#include "forms/recordset_rows.h"
#include "forms/ui_host.h"
#include "module/account_settings.h"
#include "module/module_state.h"
#include "module/settings.h"
#include "module/shared_holds.h"

namespace quillon::dialogs {

using automation::ComError;
using automation::Variant;
using namespace ref_select;

namespace {

// Where the free items' header items stand: three to a line from (kFreeLeft, kFreeTop).
constexpr int kFreeLeft = 120;
constexpr int kFreeTop = 1200;
constexpr int kFreeStep = 3120;
constexpr int kFreeLine = 240;

// Raised when the candidate query does not have the fields of the dialog's layout.
// How far ahead of the row it reads a walk over the listed rows asks for their cells: a row of
// the allocation takes about a microsecond, a cell from memory a tenth of one.
constexpr int kPrefetchRows = 8;
constexpr std::int32_t kErrLayout = -2147221504 + 2101;  // vbObjectError + 2101

std::vector<std::string> fieldNamesOf(ado::Recordset& rs) {
  std::vector<std::string> names;
  const auto& fields = rs.fields();
  const std::int32_t count = fields->count();
  names.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i)
    names.push_back(fields->item(static_cast<std::size_t>(i))->name());
  return names;
}

}  // namespace

frmRefSelect::frmRefSelect()
    : DialogShell("frmRefSelect", "参照结存", 9720, 6900, forms::HandlerErrors::Propagate) {
  lblOtherHolds.setVisible(false);
  hdiFree.push_back(nullptr);
  for (int i = 1; i <= 10; ++i) {
    const int col = (i - 1) % 3;
    const int line = (i - 1) / 3;
    forms::HeadItem& item = addElement<forms::HeadItem>(
        "hdiFree", i, {kFreeLeft + col * kFreeStep, kFreeTop + line * kFreeLine, 2900, 220},
        std::string(kFreeItemCaption) + std::to_string(i));
    item.setActive(false);
    hdiFree.push_back(&item);
  }
  hdiWhcode.setActive(false);
  hdiInvCode.setActive(false);
  chkShowMax.setValue(forms::vbChecked);

  tbrTool.addButton("ok", "确定(&O)");
  tbrTool.addButton("auto", "自动(&A)");
  tbrTool.addButton("cancel", "取消(&C)");
  tbrTool.setDefaultKey("ok");
  tbrTool.setCancelKey("cancel");
  tbrTool.ButtonClick = handler([this](forms::ToolbarButton& button) { TaskRun(button.key); });
  CTBCtrl1.ButtonClick = handler([this](const std::string& key) {
    if (forms::ToolbarButton* button = tbrTool.findButton(key)) TaskRun(button->key);
  });

  chkShowMax.Click = handler([this] {
    if (Loaded() && DataFrom) FillGrid(spgList, *DataFrom);
  });
  chkShowZero.Click = chkShowMax.Click;
  chkShowMin.Click = chkShowMax.Click;
  spgList.Click = handler([this] { gridClick(); });
  spgList.StatusLine = [this] { return statusLine(); };
  exportMenuOn(spgList);
  spgList.CellChange = handler([this](std::string& text, bool& cancel, int row, int col) {
    cellChange(text, cancel, row, col);
  });
  hdiQuantity.Change = handler([this](bool& cancel) { requestChange(Amount::Quantity, cancel); });
  hdiNum.Change = handler([this](bool& cancel) { requestChange(Amount::Pieces, cancel); });
  hdiExchRate.Change = handler([this](bool& cancel) { rateChange(cancel); });
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

  components::AccountSettings& settings = module::CurrentAccountSettings();
  qtyFormat_ = automation::NumberFormat(settings.text("FormatQuanDecString"));
  numFormat_ = automation::NumberFormat(settings.text("FormatNumDecString"));
  rateFormat_ = automation::NumberFormat(settings.text("FormatExchDecString"));
  hdiQuantity.setDecimalPlaces(settings.digits("QuanDecDgt"));
  hdiNum.setDecimalPlaces(settings.digits("NumDecDgt"));
  hdiExchRate.setDecimalPlaces(settings.digits("ExchRateDecDgt"));
  stockNegative_ = settings.option("bStockNegative");

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
  if (FillOnLoad) FillGrid(spgList, *DataFrom);

  module::ApplyToolbarStyle(CTBCtrl1, tbrTool);
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
    freeUsed_[static_cast<std::size_t>(i)] = used;
    hdiFree[static_cast<std::size_t>(i)]->setText(used ? value : std::string());
    hdiFree[static_cast<std::size_t>(i)]->setVisible(used);
  }
  arrangeFreeItems();
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

void frmRefSelect::arrangeFreeItems() {
  // The free items the inventory uses take the first places, three to a line; the lines no item
  // needs are given to the grid, so no empty band stands between the header and the rows.
  int shown = 0;
  for (int i = 1; i <= 10; ++i) {
    forms::HeadItem& item = *hdiFree[static_cast<std::size_t>(i)];
    if (!item.Visible()) continue;
    item.Move(kFreeLeft + (shown % 3) * kFreeStep, kFreeTop + (shown / 3) * kFreeLine, item.Width(),
              item.Height());
    ++shown;
  }
  const int lines = (shown + 2) / 3;
  const int top = lines == 0 ? kFreeTop : kFreeTop + lines * kFreeLine + 60;
  const int lift = chkShowMax.Top() - top;
  if (lift <= 0) return;
  for (forms::CheckBox* box : {&chkShowMax, &chkShowZero, &chkShowMin}) box->setTop(top);
  spgList.Move(spgList.Left(), spgList.Top() - lift, spgList.Width(), spgList.Height() + lift);
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

void frmRefSelect::resetRows() {
  listed_.reset();
  rowQty_.assign(1, 0.0);
  allocated_ = 0;
}

void frmRefSelect::FillGrid(forms::MsSuperGrid& grid, ado::Recordset& rs) {
  const auto paused = forms::redrawPaused(grid);
  if (!(rs.bof() && rs.eof())) rs.moveFirst();
  ado::RecordsetView view(rs);
  const int fieldCount = view.fieldCount();
  grid.setRows(1);
  grid.setCols(fieldCount + 1);
  for (int f = 0; f < fieldCount; ++f) {
    const int col = f + 1;
    grid.setTextMatrix(col, 0, view.fieldName(f));
    grid.setColLock(col, col != colThis_ && col != colThisNum_);
    // Amounts show with the account's decimals, as the quantity and pieces of the header do: the
    // stock and this-time columns, and every other quantity the query returns (issued so far,
    // received), drawn alike so figures side by side read alike.
    const forms::AmountKind amount = forms::amountKindOf(view.fieldName(f));
    if (col == colStock_ || col == colThis_ || amount == forms::AmountKind::Quantity) {
      grid.setColFormat(col, qtyFormat_.pattern());
    }
    if (col == colStockNum_ || col == colThisNum_ || amount == forms::AmountKind::Pieces) {
      grid.setColFormat(col, numFormat_.pattern());
    }
    // A free item the inventory does not use has nothing to show, here as in the header.
    if (const int item = freeItemOf(view.fieldName(f)); item > 0 && !freeUsed_[item]) {
      grid.setColWidth(col, 0);
    }
  }
  if (&grid == &spgList) resetRows();

  // The rows the boxes let through are bound to the grid, not copied into it: a cell is formatted
  // when it is read (a painted screen, a rule looking at a row) and what the dialog writes into
  // the grid is kept over it.
  const bool anyRecord = view.rowCount() > 0;
  const auto stockField = static_cast<int>(rs.fieldIndex(colStockName_));
  const bool positive = chkShowMax.Value() == forms::vbChecked;
  const bool zero = chkShowZero.Value() == forms::vbChecked;
  const bool negative = chkShowMin.Value() == forms::vbChecked;
  const auto shows = [&](double stock) {
    return (positive && stock > 0) || (zero && stock == 0) || (negative && stock < 0);
  };
  const auto showsRow = [&](int row) {
    const Variant stock = view.value(row, stockField);
    return shows(stock.isNull() ? 0.0 : stock.toDouble());
  };
  // The stock column is read at once; a row whose stock is not a plain number on its own.
  const int candidates = view.rowCount();
  std::vector<double> stocks(static_cast<std::size_t>(candidates));
  std::vector<char> kept(static_cast<std::size_t>(candidates));
  for (int row = 0; row < candidates;) {
    const int read = view.numbers(stockField, row, candidates - row, stocks.data() + row);
    for (int i = row; i < row + read; ++i) {
      kept[static_cast<std::size_t>(i)] = shows(stocks[static_cast<std::size_t>(i)]) ? 1 : 0;
    }
    row += read;
    if (row < candidates) {
      kept[static_cast<std::size_t>(row)] = showsRow(row) ? 1 : 0;
      ++row;
    }
  }
  view.keepRows([&](int row) {
    return row < candidates ? kept[static_cast<std::size_t>(row)] != 0 : showsRow(row);
  });
  auto rows = std::make_shared<forms::RecordsetRows>(std::move(view));
  if (colStock_ > 0) rows->setFormat(colStock_ - 1, qtyFormat_.pattern());
  if (colStockNum_ > 0) rows->setFormat(colStockNum_ - 1, numFormat_.pattern());
  const int shown = rows->rowCount();
  grid.bindRows(rows, shown);
  // The cursor ends past the last record, as a fill that walked to the end leaves it.
  if (anyRecord) {
    rs.moveLast();
    rs.moveNext();
  }
  if (&grid == &spgList) {
    showOtherHolds();
    listed_ = rows;
    rowQty_.assign(static_cast<std::size_t>(shown) + 1, std::numeric_limits<double>::quiet_NaN());
    rowQty_[0] = 0;
  }
}

double frmRefSelect::rowQty(int row) {
  double& qty = rowQty_[static_cast<std::size_t>(row)];
  if (!std::isnan(qty)) return qty;
  qty = 0;
  if (colThis_ <= 0 || !listed_ || colThis_ > listed_->fieldCount()) return qty;
  // What the cell shows, read back as the rules read it; a record's plain zero needs no text.
  if (spgList.cellFromSource(colThis_, row)) {
    const std::optional<double> v = listed_->view().number(row - 1, colThis_ - 1);
    if (v && *v == 0) return qty;
  }
  qty = textNumber(spgList.TextMatrix(colThis_, row)).value_or(0);
  return qty;
}

bool frmRefSelect::piecesToo() const {
  return hdiQuantity.Active() && hdiNum.Active();
}

double frmRefSelect::cellNumber(int col, int row) const {
  if (col <= 0) return 0;
  // A stock cell still showing its record's formatted value reads as that value rounded.
  if (listed_ && row >= 1 && row <= listed_->rowCount() && spgList.cellFromSource(col, row)) {
    if (const std::optional<double> shown = listed_->cellNumber(row - 1, col)) return *shown;
  }
  return textNumber(spgList.TextMatrix(col, row)).value_or(0);
}

double frmRefSelect::stockCell(int col, int row) {
  if (row != toggled_.row) return cellNumber(col, row);
  std::optional<double>& read = col == colStock_ ? toggled_.stock : toggled_.stockNum;
  if (!read) read = cellNumber(col, row);
  return *read;
}

frmRefSelect::CellValue frmRefSelect::CellValue::ofText(std::string text) {
  CellValue cell;
  cell.number = textNumber(text);
  cell.text = std::move(text);
  return cell;
}

bool frmRefSelect::CellValue::blank() const {
  return format == nullptr && text.find_first_not_of(" \t") == std::string::npos;
}

frmRefSelect::CellValue frmRefSelect::CellValue::formatted(double value,
                                                           const automation::NumberFormat& format) {
  // The text is made when the cell is read.
  if (const double shown = format.shownNumber(value); !std::isnan(shown)) {
    CellValue cell;
    cell.format = &format;
    cell.value = value;
    cell.number = shown;
    return cell;
  }
  return ofText(format.format(value));
}

frmRefSelect::CellValue frmRefSelect::qtyCell(double value) const {
  return CellValue::formatted(value, qtyFormat_);
}

frmRefSelect::CellValue frmRefSelect::numCell(double value) const {
  return CellValue::formatted(value, numFormat_);
}

void frmRefSelect::writeCell(int col, int row, const CellValue& cell) {
  if (cell.format != nullptr) {
    spgList.setNumberMatrix(col, row, cell.value, *cell.format);
  } else {
    spgList.setTextMatrix(col, row, cell.text);
  }
}

void frmRefSelect::setQtyCell(int row, const CellValue& cell, std::optional<bool> marked) {
  if (colThis_ <= 0) return;
  writeCell(colThis_, row, cell);
  const double value = cell.number.value_or(0);
  const auto r = static_cast<std::size_t>(row);
  if (marked ? *marked : spgList.isMarked(row)) allocated_ += value - rowQty(row);
  rowQty_[r] = value;
}

void frmRefSelect::RowToggle(int row) {
  if (row < 1 || row >= spgList.Rows() || colThis_ <= 0) return;
  struct Toggling {
    ToggledStock& stock;
    ~Toggling() { stock = {}; }
  } toggling{toggled_ = ToggledStock{row, {}, {}, {}}};
  remaining_ = remainingAfter(Quantity, allocated_);
  // What the this-time cell held, to put back if the rule refuses the new amount; a cell still
  // showing its record's value is read only then.
  std::optional<std::string> before;
  if (!spgList.cellFromSource(colThis_, row)) before = spgList.TextMatrix(colThis_, row);
  std::optional<CellValue> written = spgList.isMarked(row) ? deselectRow(row) : selectRow(row);
  if (!written) written = CellValue::ofText(spgList.TextMatrix(colThis_, row));
  const CellValue& cell = *written;
  const bool applied = applyCellRule(row, colThis_, cell);
  if (toggled_.pieces) writeCell(colThisNum_, row, numCell(*toggled_.pieces));
  if (!applied) {
    setQtyCell(row, CellValue::ofText(before ? *before : spgList.sourceText(colThis_, row)));
    return;
  }
  if (cell.number && piecesAtExchRate()) writePiecesAtExchRate(row, positionOf(row), *cell.number);
}

bool frmRefSelect::piecesAtExchRate() const {
  return ExchRate != 0 && !piecesToo();
}

void frmRefSelect::writePiecesAtExchRate(int row, std::int32_t position, double qty) {
  const CellValue pieces = numCell(qty / ExchRate);
  if (colThisNum_ > 0) writeCell(colThisNum_, row, pieces);
  writeFieldAt(row, position, fieldPlace(colThisNumName_), pieces.number.value_or(0), colThisNum_);
}

bool frmRefSelect::takeFilledRow(int row) {
  if (colThis_ <= 0 || !listed_ || row > listed_->rowCount()) return false;
  const TakeRule rule{RefFrom == kStocktaking, piecesToo() && colThisNum_ > 0};
  const double stock = cellNumber(colStock_, row);
  // The stock's pieces are read when the rule shares them out or the row's rate needs them.
  const bool atExchRate = piecesAtExchRate();
  std::optional<double> stockNum;
  if (rule.piecesToo || (!atExchRate && colStockNum_ > 0)) {
    stockNum = cellNumber(colStockNum_, row);
  }
  const Take take = takeRow({stock, rule.piecesToo ? *stockNum : 0.0},
                            {remainingAfter(Quantity, allocated_), remainingNum_}, rule);
  if (!take.qty) return false;
  const CellValue qty = qtyCell(*take.qty);
  if (qty.format == nullptr || wrongSign(*qty.number)) return false;
  const double value = *qty.number;

  // The steps of RowToggle for a marked row, in its order (the sums round alike).
  spgList.setMarked(row, true);
  const double before = rowQty(row);
  allocated_ += before;
  writeCell(colThis_, row, qty);
  allocated_ += value - before;
  rowQty_[static_cast<std::size_t>(row)] = value;
  remaining_ = take.left.qty;
  remainingNum_ = take.left.num;
  toggled_ = ToggledStock{row, stock, stockNum, take.num};
  // Pieces that follow the voucher's rate replace those at the row's rate, which RowToggle writes
  // first: they are written once, at the voucher's rate.
  const std::int32_t position = positionOf(row);
  writeThisTime(row, position, value, atExchRate ? 0.0 : rowRate(row), true);
  if (toggled_.pieces) writeCell(colThisNum_, row, numCell(*toggled_.pieces));
  toggled_ = {};
  if (atExchRate) writePiecesAtExchRate(row, position, value);
  return true;
}

int frmRefSelect::takeFilledRows(int first, int last, bool& more) {
  more = true;
  if (colThis_ <= 0 || !listed_ || !DataFrom || first < 1 || last < first) return first;
  if (last > listed_->rowCount() || colThis_ > listed_->fieldCount()) return first;
  const TakeRule rule{RefFrom == kStocktaking, piecesToo() && colThisNum_ > 0};
  const bool atExchRate = piecesAtExchRate();
  const bool readStockNum = rule.piecesToo || (!atExchRate && colStockNum_ > 0);
  // Where the this-time fields go: the layouts whose fields are the grid's this-time columns
  // need no pins; any other goes row by row.
  const std::size_t qtyField = fieldPlace(colThisName_);
  if (static_cast<int>(qtyField) + 1 != colThis_) return first;
  std::size_t numField = 0;
  if (colThisNum_ > 0) {
    if (!ado::hasField(*DataFrom, colThisNumName_)) return first;
    numField = fieldPlace(colThisNumName_);
    if (static_cast<int>(numField) + 1 != colThisNum_ || numField == qtyField) return first;
  } else if (ExchRate != 0) {
    return first;
  }

  // The stock cells as shown and the this-time values the fill loaded, a column each; the rows
  // end before the first whose stock does not read as a plain number.
  const ado::RecordsetView& view = listed_->view();
  auto count = static_cast<std::size_t>(last - first + 1);
  std::vector<double> stock(count, 0.0);
  std::vector<double> stockNum(count, 0.0);
  if (colStock_ > 0) {
    count = static_cast<std::size_t>(listed_->cellNumbers(colStock_, first - 1,
                                                          static_cast<int>(count), stock.data()));
  }
  if (readStockNum && colStockNum_ > 0) {
    count = static_cast<std::size_t>(listed_->cellNumbers(
        colStockNum_, first - 1, static_cast<int>(count), stockNum.data()));
  }
  std::vector<double> loaded(count, 0.0);
  const auto numbers = static_cast<std::size_t>(
      view.numbers(colThis_ - 1, first - 1, static_cast<int>(count), loaded.data()));

  std::vector<int> rows;
  std::vector<std::int32_t> positions;
  std::vector<double> qtys;      // the fields' values: what the cells read as
  std::vector<double> qtyCells;  // the cells' values, shown through the format
  std::vector<int> pieceRows;
  std::vector<std::int32_t> piecePositions;
  std::vector<double> pieceCells;
  std::vector<double> pieceFields;
  rows.reserve(count);
  positions.reserve(count);
  qtys.reserve(count);
  qtyCells.reserve(count);
  pieceRows.reserve(count);
  pieceCells.reserve(count);
  piecePositions.reserve(count);
  pieceFields.reserve(count);
  const automation::ShownRounding shownQty(qtyFormat_);
  const automation::ShownRounding shownNum(numFormat_);
  std::size_t i = 0;
  for (; i < count && more; ++i) {
    const int row = first + static_cast<int>(i);
    const Take take = takeRow({stock[i], rule.piecesToo ? stockNum[i] : 0.0},
                              {remainingAfter(Quantity, allocated_), remainingNum_}, rule);
    if (!take.qty) break;
    const double value = shownQty(*take.qty);
    if (std::isnan(value) || wrongSign(value)) break;
    // The pieces cell and field as takeFilledRow writes them: at the voucher's rate, at the
    // row's, or (no rate) the share of the pieces, in the cell only.
    double pieces = 0;
    bool pieceCell = false;
    bool pieceField = false;
    const double rate = atExchRate           ? ExchRate
                        : colStockNum_ <= 0  ? ExchRate
                        : stockNum[i] == 0   ? 0
                                             : stock[i] / stockNum[i];
    if (rate != 0) {
      pieces = value / rate;
      pieceCell = colThisNum_ > 0;
      pieceField = true;
    } else if (take.num) {
      pieces = *take.num;
      pieceCell = true;
    }
    const double piecesShown = pieceCell || pieceField ? shownNum(pieces) : 0.0;
    if (std::isnan(piecesShown)) break;
    // The this-time value the cell held: a record's plain zero, else its text read back.
    const double before = i < numbers && loaded[i] == 0
                              ? 0.0
                              : textNumber(spgList.TextMatrix(colThis_, row)).value_or(0);
    allocated_ += before;
    allocated_ += value - before;
    rowQty_[static_cast<std::size_t>(row)] = value;
    remaining_ = take.left.qty;
    remainingNum_ = take.left.num;
    const std::int32_t position = view.position(row - 1);
    rows.push_back(row);
    positions.push_back(position);
    qtys.push_back(value);
    qtyCells.push_back(*take.qty);
    if (pieceCell) {
      pieceRows.push_back(row);
      pieceCells.push_back(pieces);
    }
    if (pieceField) {
      piecePositions.push_back(position);
      pieceFields.push_back(piecesShown);
    }
    if (!MutiSel) {
      more = false;
    } else {
      more = stillWanted(Quantity, remaining_) || (piecesToo() && stillWanted(Num, remainingNum_));
    }
  }
  if (rows.empty()) return first;
  spgList.markRows(rows.front(), rows.back());
  spgList.setNumberColumn(colThis_, rows, qtyCells, qtyFormat_);
  if (!pieceRows.empty()) spgList.setNumberColumn(colThisNum_, pieceRows, pieceCells, numFormat_);
  // The quantity last: the cursor ends on the last row taken, as the writes row by row leave it.
  if (!piecePositions.empty()) DataFrom->writeNumbersAt(piecePositions, numField, pieceFields);
  DataFrom->writeNumbersAt(positions, qtyField, qtys);
  return rows.back() + 1;
}

std::optional<frmRefSelect::CellValue> frmRefSelect::deselectRow(int row) {
  const auto r = static_cast<std::size_t>(row);
  spgList.setMarked(row, false);
  allocated_ -= rowQty(row);
  remaining_ += rowQty_[r];
  if (piecesToo() && colThisNum_ > 0) {
    remainingNum_ += cellNumber(colThisNum_, row);
    spgList.setTextMatrix(colThisNum_, row, "0");
  }
  CellValue zero = CellValue::ofText("0");
  setQtyCell(row, zero, false);
  return zero;
}

std::optional<frmRefSelect::CellValue> frmRefSelect::selectRow(int row) {
  spgList.setMarked(row, true);
  allocated_ += rowQty(row);
  // A figure the person typed into the row before marking it is what the row takes: it is not
  // replaced by the share the allocation would give.
  if (RefFrom != kStocktaking && !spgList.cellFromSource(colThis_, row) && rowQty(row) != 0) {
    remaining_ -= rowQty(row);
    return std::nullopt;
  }
  const TakeRule rule{RefFrom == kStocktaking, piecesToo() && colThisNum_ > 0};
  const CandidateRow candidate{stockCell(colStock_, row),
                               rule.piecesToo ? stockCell(colStockNum_, row) : 0.0};
  const Take take = takeRow(candidate, {remaining_, remainingNum_}, rule);
  std::optional<CellValue> written;
  if (take.qty) {
    written = qtyCell(*take.qty);
    setQtyCell(row, *written, true);
  }
  toggled_.pieces = take.num;
  remaining_ = take.left.qty;
  remainingNum_ = take.left.num;
  return written;
}

void frmRefSelect::AutoMatch(std::string& message) {
  const bool silent = !message.empty();
  message.clear();
  spgList.setRows(1);
  resetRows();
  remaining_ = Quantity;
  remainingNum_ = Num;

  std::string rule;
  if (RefType == kRefBatch) rule = module::CurrentAccountSettings().text("BatchOut");
  if (RefType == kRefTrace) rule = module::CurrentAccountSettings().text("InOutTrace");
  const std::string sort = allocationSort(RefType, rule);
  if (!sort.empty()) {
    for (const std::string& field : sortFields(sort)) {
      if (!ado::hasField(*DataFrom, field)) {
        throw ComError(kErrLayout, missingFieldMessage(field), "frmRefSelect");
      }
    }
    DataFrom->setSort(sort);
  }
  FillGrid(spgList, *DataFrom);

  {
    // The rows taken are announced to a drawn grid once, not row by row.
    const auto paused = forms::redrawPaused(spgList);
    const int last = spgList.Rows() - 1;
    bool more = true;
    const int next = TakeByColumns ? takeFilledRows(1, last, more) : 1;
    if (more) {
      allocateRows(next, last, {Quantity, Num}, MutiSel, piecesToo(), [this](int row) {
        prefetchRow(row + kPrefetchRows);
        if (!takeFilledRow(row)) RowToggle(row);
        return Amounts{remaining_, remainingNum_};
      });
    }
  }
  report(message, silent);
}

void frmRefSelect::prefetchRow(int row) const {
  if (!listed_) return;
  listed_->view().prefetch(row - 1,
                           {colStock_ - 1, colStockNum_ - 1, colThis_ - 1, colThisNum_ - 1});
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
    if (row != except && spgList.isMarked(row)) RowToggle(row);
  }
}

std::int32_t frmRefSelect::positionOf(int row) const {
  if (!listed_ || row < 1 || row > listed_->rowCount()) throw ComError::invalidPropertyArrayIndex();
  return listed_->view().position(row - 1);
}

std::size_t frmRefSelect::fieldPlace(const std::string& name) {
  // The this-time fields are written for every row taken: a place found once is used again while
  // DataFrom is open on the same rows.
  if (DataFrom->rowsKey() != placesIn_) {
    placesIn_ = DataFrom->rowsKey();
    thisField_.reset();
    thisNumField_.reset();
  }
  // Callers pass the dialog's own names: the address tells them apart without comparing texts.
  const bool quantity =
      &name == &colThisName_ || (&name != &colThisNumName_ && name == colThisName_);
  std::optional<std::size_t>& place = quantity ? thisField_ : thisNumField_;
  if (!place) place = DataFrom->fieldIndex(name);
  return *place;
}

void frmRefSelect::writeField(int row, const std::string& name, double value) {
  const std::int32_t position = positionOf(row);
  writeFieldAt(row, position, fieldPlace(name), value);
}

void frmRefSelect::writeFieldAt(int row, std::int32_t position, std::size_t field, double value,
                                int writtenCol) {
  // The grid shows the field as it was filled until the dialog writes the cell itself.
  const int col = static_cast<int>(field) + 1;
  if (col != writtenCol && col < spgList.Cols()) spgList.pinCell(col, row);
  DataFrom->writeNumberAt(position, field, value);
}

void frmRefSelect::CollectSelection() {
  // The chosen records by their places, for a filter of their bookmarks (made when the filter is
  // read, so that a hundred thousand chosen rows cost no Variant each).
  const std::vector<int> marked = spgList.markedRows();
  std::vector<std::int32_t> positions;
  positions.reserve(marked.size());
  for (const int row : marked) positions.push_back(positionOf(row));
  if (positions.empty()) {
    DataFrom.reset();
  } else {
    DataFrom->setFilterPositions(positions);
  }
}

void frmRefSelect::TaskRun(std::string key) {
  key = automation::asciiLower(key);
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

void frmRefSelect::showOtherHolds() {
  auto connection = module::gContext ? module::gContext->connection() : nullptr;
  const bool shown = RefType != kRefReturn && connection && connection->isOpen() &&
                     module::SharedHoldsOn(*connection);
  lblOtherHolds.setVisible(shown);
  if (!shown) return;
  const auto kind = RefType == kRefTrace ? module::HoldKind::Receipt : module::HoldKind::Stock;
  lblOtherHolds.setCaption(module::OthersHoldLine(
      module::OthersHold(*connection, kind, module::WorkTableSuffix(), WhCode, InvCode)));
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
  return qtyFormat_.format(v);
}

std::string frmRefSelect::formatNum(double v) const {
  return numFormat_.format(v);
}

std::string frmRefSelect::formatRate(double v) const {
  return rateFormat_.format(v);
}

}  // namespace quillon::dialogs
