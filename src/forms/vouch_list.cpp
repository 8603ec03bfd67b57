#include "forms/vouch_list.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "automation/com_error.h"
#include "automation/text_compare.h"
#include "forms/form.h"
#include "forms/list_export.h"
#include "forms/list_find.h"
#include "forms/list_status.h"
#include "forms/ui_host.h"

namespace quillon::forms {

using automation::ComError;

namespace {

std::string trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return std::string(s.substr(first, last - first + 1));
}

std::vector<std::string_view> split(std::string_view s, std::string_view separators) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || separators.find(s[i]) != std::string_view::npos) {
      parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

}  // namespace

std::vector<VouchColumn> parseColumnDefinitions(std::string_view text) {
  std::vector<VouchColumn> columns;
  for (std::string_view entry : split(text, ";\n")) {
    if (trim(entry).empty()) continue;
    // The format is the rest of the entry: display formats such as "#,##0.00" hold commas.
    auto parts = split(entry, ",");
    if (parts.size() > 4) {
      const std::size_t formatStart = static_cast<std::size_t>(parts[3].data() - entry.data());
      parts.resize(3);
      parts.push_back(entry.substr(formatStart));
    }
    if (parts.size() < 3) {
      throw ComError(
          automation::err::kInvalidProcedureCall,
          "Bad column definition \"" + trim(entry) + "\": expected key,caption,width[,format]");
    }
    VouchColumn column;
    column.key = trim(parts[0]);
    column.caption = trim(parts[1]);
    const std::string width = trim(parts[2]);
    int value = 0;
    const auto [end, ec] = std::from_chars(width.data(), width.data() + width.size(), value);
    if (column.key.empty() || ec != std::errc() || end != width.data() + width.size() ||
        value < 0) {
      throw ComError(
          automation::err::kInvalidProcedureCall,
          "Bad column definition \"" + trim(entry) + "\": expected key,caption,width[,format]");
    }
    column.width = value;
    if (parts.size() == 4) column.format = trim(parts[3]);
    columns.push_back(std::move(column));
  }
  return columns;
}

MarlinVouchList::MarlinVouchList(std::string name)
    : Control(ControlKind::VouchList, std::move(name)) {
  resetLayout();
}

MarlinVouchList::~MarlinVouchList() {
  stopRows();
}

void MarlinVouchList::stopRows() {
  if (!growing_) return;
  growing_ = nullptr;
  stopGrowing(*this);
}

void MarlinVouchList::takeGrownRows() {
  const int rows = growing_->rowCount();
  if (rows + 1 <= cells_.rows()) return;
  if (!cells_.growBound(rows)) return;
  notify("RowsAdded");
}

bool MarlinVouchList::growRows(int maxRows, std::chrono::nanoseconds budget) {
  if (!growing_) return false;
  const bool more = growing_->grow(maxRows, budget);
  takeGrownRows();
  if (!more) growing_ = nullptr;
  return more;
}

void MarlinVouchList::finishRows() {
  if (!growing_) return;
  growing_->growToEnd();
  takeGrownRows();
  stopRows();
}

void MarlinVouchList::setColumnDefinitions(std::string_view text) {
  auto columns = parseColumnDefinitions(text);  // parse first: a bad text changes nothing
  columns_ = std::move(columns);
  writeCaptions();
  row_ = 0;
  notify("Columns");
}

void MarlinVouchList::writeCaptions() {
  cells_.clear();
  truncateRowLabels(0);
  order_.reset();
  cells_.resize(1, Cols());
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    cells_.set(0, static_cast<int>(c) + 1, std::string_view(columns_[c].caption));
  }
}

void MarlinVouchList::resetLayout() {
  stopRows();
  columns_.clear();
  cells_.clear();
  truncateRowLabels(0);
  order_.reset();
  cells_.resize(1, 1);
  row_ = 0;
  notify("Columns");
}

namespace {

// A row source's rows as a list's cells: column c shows the field of the c-th defined column.
class FieldCells final : public CellSource {
 public:
  FieldCells(std::shared_ptr<const RowSource> source, std::vector<int> fieldOf)
      : source_(std::move(source)), fieldOf_(std::move(fieldOf)) {}
  std::string cellText(int index, int col) const override {
    if (col < 1 || static_cast<std::size_t>(col) > fieldOf_.size()) return {};
    const int field = fieldOf_[static_cast<std::size_t>(col) - 1];
    return field < 0 ? std::string() : source_->text(index, field);
  }

 private:
  std::shared_ptr<const RowSource> source_;
  std::vector<int> fieldOf_;
};

}  // namespace

void MarlinVouchList::bind(std::shared_ptr<const RowSource> source) {
  stopRows();
  const int fields = source->fieldCount();
  if (columns_.empty()) {
    for (int f = 0; f < fields; ++f) {
      const std::string name = source->fieldName(f);
      columns_.push_back({name, name, 1000, {}});
    }
  }
  std::vector<int> fieldOf(columns_.size(), -1);
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    for (int f = 0; f < fields; ++f) {
      if (automation::equalsNoCase(columns_[c].key, source->fieldName(f))) {
        fieldOf[c] = f;
        break;
      }
    }
  }
  writeCaptions();
  const int rows = source->rowCount();
  cells_.resize(rows + 1, Cols());
  if (rows > 0 && source->mayGrow()) growing_ = source;
  cells_.bind(std::make_shared<FieldCells>(std::move(source), std::move(fieldOf)), 1, rows);
  row_ = rows > 0 ? 1 : 0;
  notify("Columns");
  notify("Cell");
  if (growing_) startGrowing(*this);
}

void MarlinVouchList::Clear() {
  stopRows();
  cells_.resize(1, Cols());
  truncateRowLabels(1);
  order_.reset();
  row_ = 0;
  notify("Cell");
}

void MarlinVouchList::checkCell(int row, int col) const {
  if (row >= cells_.rows()) settleRows();
  if (row < 0 || row >= cells_.rows() || col < 0 || col >= Cols()) {
    throw ComError::invalidPropertyArrayIndex();
  }
}

std::string MarlinVouchList::TextMatrix(int row, int col) const {
  checkCell(row, col);
  return cells_.text(row, col);
}

void MarlinVouchList::setTextMatrix(int row, int col, std::string text) {
  checkCell(row, col);
  if (cells_.set(row, col, std::move(text))) notify("Cell");
}

int MarlinVouchList::colIndex(std::string_view key) const {
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    if (automation::equalsNoCase(columns_[c].key, key)) return static_cast<int>(c) + 1;
  }
  return -1;
}

void MarlinVouchList::setColFormat(int col, std::string format) {
  checkCell(0, col);
  if (col == 0) return;
  columns_[static_cast<std::size_t>(col) - 1].format = std::move(format);
  notify("Columns");
}

void MarlinVouchList::setColWidth(int col, int width) {
  checkCell(0, col);
  if (col == 0) return;
  columns_[static_cast<std::size_t>(col) - 1].width = width < 0 ? 0 : width;
  notify("Columns");
}

bool MarlinVouchList::userResizeColumn(int col, int width) {
  if (col < 1 || col >= Cols() || width < 1) return false;
  VouchColumn& column = columns_[static_cast<std::size_t>(col) - 1];
  if (column.width == 0) return false;
  if (column.width != width) {
    column.width = width;
    notify("Columns");
  }
  if (ColumnResized) ColumnResized(col, width);
  return true;
}

void MarlinVouchList::setColEditable(int col, bool on) {
  checkCell(0, col);
  if (col == 0) return;
  columns_[static_cast<std::size_t>(col) - 1].editable = on;
  notify("Columns");
}

bool MarlinVouchList::userEditCell(int row, int col, std::string text) {
  if (!isReachable() || row < 1 || row >= Rows() || col < 1 || col >= Cols()) return false;
  if (!columns_[static_cast<std::size_t>(col) - 1].editable) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (row >= Rows() || col >= Cols()) return false;
  setRow(row);
  bool cancel = false;
  if (CellChange) CellChange(text, cancel, row, col);
  if (cancel || row >= Rows() || col >= Cols()) return true;
  setTextMatrix(row, col, std::move(text));
  return true;
}

void MarlinVouchList::setRow(int row) {
  checkCell(row, 0);
  assign(row_, row, "Row");
}

bool MarlinVouchList::Marked(int row) const {
  checkCell(row, 0);
  return cells_.holds(row, 0, kMarkText);
}

void MarlinVouchList::setMarked(int row, bool on) {
  if (row < 1) throw ComError::invalidPropertyArrayIndex();
  checkCell(row, 0);
  if (cells_.set(row, 0, on ? kMarkText : std::string_view())) notify("Cell");
}

int MarlinVouchList::markedCount() const {
  int n = 0;
  for (int r = 1; r < Rows(); ++r) n += cells_.holds(r, 0, kMarkText) ? 1 : 0;
  return n;
}

std::string MarlinVouchList::displayText() const {
  if (row_ >= 1 && row_ < Rows() && Cols() > 1) return TextMatrix(row_, 1);
  return {};
}

bool MarlinVouchList::defaultKeyDown(int keyCode, int shift) {
  if (isCopyKey(keyCode, shift)) return copyChosenRows(*this);
  if (isFindKey(keyCode, shift)) return currentUiHost().findInList(*this);
  if (keyCode != vbKeySpace || shift != 0) return false;
  if (row_ >= 1 && row_ < Rows()) userMark(row_);
  return true;
}

bool MarlinVouchList::userMark(int row) {
  if (!isReachable() || row < 1 || row >= Rows()) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (row >= Rows()) return false;
  setRow(row);
  setMarked(row, !Marked(row));
  if (RowMarkChanged) RowMarkChanged(row);
  return true;
}

bool MarlinVouchList::userSelectRow(int row) {
  if (!isReachable() || row < 1 || row >= Rows()) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (row >= Rows()) return false;
  setRow(row);
  if (Click) Click();
  return true;
}

std::optional<std::string> MarlinVouchList::statusText() const {
  if (columns_.empty()) return std::string();
  // The rows read so far: the status line follows a list that is still loading.
  int marked = 0;
  for (int r = 1; r < cells_.rows(); ++r) marked += cells_.holds(r, 0, kMarkText) ? 1 : 0;
  return RowsStatus(cells_.rows() - 1, marked);
}

void MarlinVouchList::rowLabelsChanged(bool layout) {
  notify(layout ? "RowLabels" : "Cell");
}

void MarlinVouchList::sortRows(int col, bool descending) {
  if (col < 1 || col >= Cols()) throw ComError::invalidPropertyArrayIndex();
  finishRows();  // the order is that of every row
  order_.sort(col, descending, Rows() - 1, [&](int row) { return TextMatrix(row, col); });
  notify("Order");
}

bool MarlinVouchList::userSortColumn(int col) {
  if (!isReachable() || col < 1 || col >= Cols()) return false;
  sortRows(col, nextSortDescending(order_, col));
  return true;
}

}  // namespace quillon::forms
