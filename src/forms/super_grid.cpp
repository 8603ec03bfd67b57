#include "forms/super_grid.h"

#include <algorithm>

#include "automation/com_error.h"
#include "automation/utf8.h"
#include "forms/constants.h"
#include "forms/form.h"
#include "forms/list_export.h"
#include "forms/list_find.h"
#include "forms/list_status.h"
#include "forms/ui_host.h"

namespace quillon::forms {

using automation::ComError;

MsSuperGrid::MsSuperGrid(std::string name, int rows, int cols)
    : Control(ControlKind::SuperGrid, std::move(name)), rows_(0), cols_(0) {
  setCols(cols < 1 ? 1 : cols);
  setRows(rows < 1 ? 1 : rows);
}

MsSuperGrid::~MsSuperGrid() {
  stopRows();
}

void MsSuperGrid::stopRows() {
  if (!growing_) return;
  growing_ = nullptr;
  stopGrowing(*this);
}

void MsSuperGrid::takeGrownRows() {
  const int rows = growing_->grownRows();
  if (rows + 1 <= rows_) return;
  if (!cells_.growBound(rows)) return;
  rows_ = rows + 1;
  rowHeights_.resize(static_cast<std::size_t>(rows_), kDefaultRowHeight);
  notify("RowsAdded");
}

bool MsSuperGrid::growRows(int maxRows, std::chrono::nanoseconds budget) {
  if (!growing_) return false;
  const bool more = growing_->grow(maxRows, budget);
  takeGrownRows();
  if (!more) growing_ = nullptr;
  return more;
}

void MsSuperGrid::finishRows() {
  if (!growing_) return;
  growing_->growToEnd();
  takeGrownRows();
  stopRows();
}

void MsSuperGrid::checkRow(int row) const {
  if (row >= rows_) settleRows();
  if (row < 0 || row >= rows_) throw ComError::invalidPropertyArrayIndex();
}
void MsSuperGrid::checkCol(int col) const {
  if (col < 0 || col >= cols_) throw ComError::invalidPropertyArrayIndex();
}
void MsSuperGrid::checkCell(int col, int row) const {
  checkCol(col);
  checkRow(row);
}

void MsSuperGrid::cellChanged() {
  if (redraw_) {
    notify("Cell");
  } else {
    dirtyWhileOff_ = true;
  }
}

void MsSuperGrid::setRows(int rows) {
  if (rows < 0) throw ComError::invalidPropertyValue();
  if (rows == rows_) return;
  stopRows();
  rows_ = rows;
  cells_.resize(rows, cols_);
  order_.reset();
  rowHeights_.resize(static_cast<std::size_t>(rows), kDefaultRowHeight);
  truncateRowLabels(rows);
  if (row_ >= rows_) row_ = rows_ > 0 ? rows_ - 1 : 0;
  if (pending_ && pending_->row >= rows_) pending_.reset();
  notify("Rows");
  cellChanged();
}

void MsSuperGrid::setCols(int cols) {
  if (cols < 0) throw ComError::invalidPropertyValue();
  if (cols == cols_) return;
  cols_ = cols;
  cells_.resize(rows_, cols);
  columns_.resize(static_cast<std::size_t>(cols));
  if (col_ >= cols_) col_ = cols_ > 0 ? cols_ - 1 : 0;
  if (pending_ && pending_->col >= cols_) pending_.reset();
  notify("Cols");
  cellChanged();
}

std::string MsSuperGrid::TextMatrix(int col, int row) const {
  checkCell(col, row);
  return cells_.text(row, col);
}

void MsSuperGrid::setNumberMatrix(int col, int row, double value,
                                  const automation::NumberFormat& format) {
  checkCell(col, row);
  if (cells_.setNumber(row, col, value, format)) cellChanged();
}

void MsSuperGrid::setNumberColumn(int col, std::span<const int> rows,
                                  std::span<const double> values,
                                  const automation::NumberFormat& format) {
  if (rows.size() != values.size()) throw ComError::invalidProcedureCall();
  checkCol(col);
  if (rows.empty()) return;
  const auto [low, high] = std::minmax_element(rows.begin(), rows.end());
  checkRow(*low);
  checkRow(*high);
  if (cells_.setNumbers(rows, col, values, format)) cellChanged();
}

void MsSuperGrid::markRows(int first, int last) {
  if (last < first) return;
  checkCell(0, first);
  checkRow(last);
  if (cells_.setTexts(first, last - first + 1, 0, kMarkText)) cellChanged();
}

std::vector<int> MsSuperGrid::markedRows() const {
  settleRows();
  return cells_.rowsHolding(1, rows_ - 1, 0, kMarkText);
}

void MsSuperGrid::setMarked(int row, bool on) {
  checkCell(0, row);
  if (cells_.set(row, 0, on ? kMarkText : std::string_view())) cellChanged();
}

bool MsSuperGrid::isMarked(int row) const {
  checkCell(0, row);
  return cells_.holds(row, 0, kMarkText);
}

void MsSuperGrid::setTextMatrix(int col, int row, std::string text) {
  checkCell(col, row);
  if (cells_.set(row, col, std::move(text))) cellChanged();
}

void MsSuperGrid::bindRows(std::shared_ptr<const CellSource> source, int count) {
  if (count < 0) throw ComError::invalidPropertyValue();
  setRows(1);
  setRows(count + 1);
  const bool grows = source && count > 0 && source->mayGrow();
  if (grows) growing_ = source;
  cells_.bind(std::move(source), 1, count);
  cellChanged();
  if (grows) startGrowing(*this);
}

bool MsSuperGrid::cellFromSource(int col, int row) const {
  checkCell(col, row);
  return cells_.fromSource(row, col);
}

std::string MsSuperGrid::sourceText(int col, int row) const {
  checkCell(col, row);
  return cells_.sourceText(row, col);
}

std::optional<double> MsSuperGrid::sourceNumber(int col, int row) const {
  checkCell(col, row);
  return cells_.sourceNumber(row, col);
}

void MsSuperGrid::pinCell(int col, int row) {
  checkCell(col, row);
  cells_.pin(row, col);
}

void MsSuperGrid::setRow(int row) {
  checkRow(row);
  assign(row_, row, "Row");
}

void MsSuperGrid::setCol(int col) {
  checkCol(col);
  assign(col_, col, "Col");
}

int MsSuperGrid::RowHeight(int row) const {
  checkRow(row);
  return rowHeights_[static_cast<std::size_t>(row)];
}

void MsSuperGrid::setRowHeight(int row, int height) {
  checkRow(row);
  auto& h = rowHeights_[static_cast<std::size_t>(row)];
  if (h == height) return;
  h = height < 0 ? 0 : height;
  notify("RowHeight");
}

int MsSuperGrid::ColWidth(int col) const {
  checkCol(col);
  return columns_[static_cast<std::size_t>(col)].width;
}

void MsSuperGrid::setColWidth(int col, int width) {
  checkCol(col);
  Column& column = columns_[static_cast<std::size_t>(col)];
  const int w = width < 0 ? 0 : width;
  if (column.widthSet && column.width == w) return;
  column.width = w;
  column.widthSet = true;
  notify("ColWidth");
}

bool MsSuperGrid::ColWidthSet(int col) const {
  checkCol(col);
  return columns_[static_cast<std::size_t>(col)].widthSet;
}

void MsSuperGrid::setRedraw(bool on) {
  if (on == redraw_) return;
  redraw_ = on;
  if (on && dirtyWhileOff_) {
    dirtyWhileOff_ = false;
    notify("Redraw");
  }
}

void MsSuperGrid::Clear() {
  stopRows();
  cells_.clear();
  truncateRowLabels(0);
  if (order_.reset()) notify("Order");
  pending_.reset();
  cellChanged();
}

void MsSuperGrid::FinishEdit() {
  if (!pending_) return;
  PendingEdit edit = std::move(*pending_);
  pending_.reset();
  if (edit.row >= rows_ || edit.col >= cols_) return;
  const int maxLength = columns_[static_cast<std::size_t>(edit.col)].maxLength;
  if (maxLength > 0) {
    auto chars = automation::utf8::decode(edit.text);
    if (static_cast<int>(chars.size()) > maxLength) {
      chars.resize(static_cast<std::size_t>(maxLength));
      edit.text = automation::utf8::encode(chars);
    }
  }
  bool cancel = false;
  if (CellChange) CellChange(edit.text, cancel, edit.row, edit.col);
  notify("Edit");
  if (cancel || edit.row >= rows_ || edit.col >= cols_) return;
  setTextMatrix(edit.col, edit.row, std::move(edit.text));
}

void MsSuperGrid::setBackColor(std::uint32_t rgb) {
  assign(backColor_, rgb, "BackColor");
}

const std::string& MsSuperGrid::ColFormat(int col) const {
  checkCol(col);
  return columns_[static_cast<std::size_t>(col)].format;
}

void MsSuperGrid::setColFormat(int col, std::string format) {
  checkCol(col);
  columns_[static_cast<std::size_t>(col)].format = std::move(format);
  notify("ColFormat");
}

bool MsSuperGrid::ColLock(int col) const {
  checkCol(col);
  return columns_[static_cast<std::size_t>(col)].locked;
}

void MsSuperGrid::setColLock(int col, bool locked) {
  checkCol(col);
  columns_[static_cast<std::size_t>(col)].locked = locked;
  notify("ColLock");
}

int MsSuperGrid::ColMaxLength(int col) const {
  checkCol(col);
  return columns_[static_cast<std::size_t>(col)].maxLength;
}

void MsSuperGrid::setColMaxLength(int col, int length) {
  checkCol(col);
  columns_[static_cast<std::size_t>(col)].maxLength = length < 0 ? 0 : length;
}

bool MsSuperGrid::ColButton(int col) const {
  checkCol(col);
  return columns_[static_cast<std::size_t>(col)].button;
}

void MsSuperGrid::setColButton(int col, bool on) {
  checkCol(col);
  columns_[static_cast<std::size_t>(col)].button = on;
  notify("ColButton");
}

void MsSuperGrid::rowLabelsChanged(bool layout) {
  if (layout) {
    notify("RowLabels");
  } else {
    cellChanged();
  }
}

int MsSuperGrid::colByCaption(std::string_view caption) const {
  if (rows_ == 0) return -1;
  for (int c = 0; c < cols_; ++c) {
    if (cells_.text(0, c) == caption) return c;
  }
  return -1;
}

int MsSuperGrid::visibleDataRows() const {
  int n = 0;
  for (int r = 1; r < rows_; ++r) n += rowHeights_[static_cast<std::size_t>(r)] != 0 ? 1 : 0;
  return n;
}

int MsSuperGrid::markedVisibleRows() const {
  int n = 0;
  for (int r = 1; r < rows_; ++r) {
    n += rowHeights_[static_cast<std::size_t>(r)] != 0 && cells_.holds(r, 0, kMarkText) ? 1 : 0;
  }
  return n;
}

bool MsSuperGrid::cellEditable(int row, int col) const {
  if (row < 1 || row >= rows_ || col < 1 || col >= cols_) return false;
  const Column& column = columns_[static_cast<std::size_t>(col)];
  return !column.locked && !column.button && rowHeights_[static_cast<std::size_t>(row)] != 0;
}

std::optional<std::string> MsSuperGrid::statusText() const {
  if (StatusLine) return StatusLine();
  return rowsStatus();
}

std::string MsSuperGrid::rowsStatus() const {
  bool captioned = false;
  for (int c = 0; c < cols_ && rows_ > 0 && !captioned; ++c) captioned = !cells_.text(0, c).empty();
  if (!captioned) return std::string();
  return RowsStatus(visibleDataRows(), markedVisibleRows());
}

std::string MsSuperGrid::displayText() const {
  if (row_ < rows_ && col_ < cols_) return cells_.text(row_, col_);
  return {};
}

bool MsSuperGrid::defaultKeyDown(int keyCode, int shift) {
  if (isCopyKey(keyCode, shift)) return copyChosenRows(*this);
  if (isFindKey(keyCode, shift)) return currentUiHost().findInList(*this);
  if ((keyCode == vbKeyF4 && shift == 0) || (keyCode == vbKeyDown && shift == vbAltMask)) {
    if (row_ >= 1 && row_ < rows_ && col_ < cols_ &&
        columns_[static_cast<std::size_t>(col_)].button) {
      userCellButton(row_, col_);
      return true;
    }
    return false;
  }
  if (keyCode != vbKeySpace || shift != 0) return false;
  const int row = row_;
  const int col = col_;
  if (row < 1 || row >= rows_) return true;
  if (!userClickCell(row, 0)) return true;
  if (row == row_ && col < cols_) userSelectCell(row, col);
  return true;
}

bool MsSuperGrid::userSelectCell(int row, int col) {
  if (!isReachable() || row < 0 || row >= rows_ || col < 0 || col >= cols_) return false;
  FinishEdit();
  if (row >= rows_ || col >= cols_) return false;
  if (row == row_ && col == col_) return true;
  row_ = row;
  col_ = col;
  notify("Row");
  if (RowColChange) RowColChange();
  return true;
}

bool MsSuperGrid::userClickCell(int row, int col) {
  if (!isReachable() || row < 0 || row >= rows_ || col < 0 || col >= cols_) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (!userSelectCell(row, col)) return false;
  if (Click) Click();
  userMouseUp(vbLeftButton);
  return true;
}

bool MsSuperGrid::userBeginEdit(int row, int col) {
  // Row 0 (captions) and column 0 (marks) are fixed; locked columns refuse editing.
  if (!isReachable() || row < 1 || row >= rows_ || col < 1 || col >= cols_) return false;
  if (columns_[static_cast<std::size_t>(col)].locked) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (!userSelectCell(row, col)) return false;
  bool cancel = false;
  if (BeforeEdit) BeforeEdit(row, col, cancel);
  if (cancel || row >= rows_ || col >= cols_) return false;
  pending_ = PendingEdit{row, col, cells_.text(row, col)};
  notify("Edit");
  return true;
}

void MsSuperGrid::userEditText(std::string text) {
  if (pending_) pending_->text = std::move(text);
}

void MsSuperGrid::userCancelEdit() {
  if (!pending_) return;
  pending_.reset();
  notify("Edit");
}

bool MsSuperGrid::userEditCell(int row, int col, std::string text) {
  if (!userBeginEdit(row, col)) return false;
  userEditText(std::move(text));
  FinishEdit();
  return true;
}

std::optional<int> MsSuperGrid::userScan(const std::string& text) {
  if (!Scan || !isReachable()) return std::nullopt;
  FinishEdit();
  int row = 0;
  Scan(text, row);
  return row >= 1 && row < rows_ ? row : 0;
}

bool MsSuperGrid::userCellButton(int row, int col) {
  if (!isReachable() || row < 1 || row >= rows_ || col < 0 || col >= cols_) return false;
  if (!columns_[static_cast<std::size_t>(col)].button) return false;
  if (!userSelectCell(row, col)) return false;
  if (CellButtonClick) CellButtonClick(row, col);
  return true;
}

void MsSuperGrid::sortRows(int col, bool descending) {
  if (col < 1 || col >= cols_) throw ComError::invalidPropertyArrayIndex();
  FinishEdit();
  finishRows();  // the order is that of every row
  order_.sort(col, descending, rows_ - 1, [&](int row) { return TextMatrix(col, row); });
  notify("Order");
}

bool MsSuperGrid::userSortColumn(int col) {
  if (!isReachable() || col < 1 || col >= cols_ || rows_ < 1) return false;
  sortRows(col, nextSortDescending(order_, col));
  return true;
}

}  // namespace quillon::forms
