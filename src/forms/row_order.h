// The order a list shows its data rows in: its own order (row 1 first), or sorted by the texts of
// one column. A sorted list keeps every row's number — its cells, its mark and whatever a form
// keeps per row stay with it — and changes only the place the row is shown at, so a dialog's
// rules and the collections it builds from rows are the same however the person sorted.
//
// Texts that read as numbers ("1,851.00", "-3") compare by value and come before other texts;
// other texts compare by their bytes (dates written year first sort by date); empty texts come
// first. Rows whose texts compare equal keep their own order, both ways.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::forms {

class Control;

class RowOrder {
 public:
  bool sorted() const { return column_ >= 0; }
  // The column sorted by (the control's own column number), -1 when in the list's own order.
  int column() const { return column_; }
  bool descending() const { return descending_; }

  // Sorts data rows 1 to `count` by `text(row)`.
  void sort(int column, bool descending, int count, const std::function<std::string(int)>& text);
  // Back to the list's own order; false when it was in it.
  bool reset();

  // The data row shown at 1-based position `position`, and the position row `row` is shown at;
  // the same number for a list in its own order or a number outside the sorted rows.
  int rowAt(int position) const;
  int positionOf(int row) const;

 private:
  int column_ = -1;
  bool descending_ = false;
  std::vector<int> rows_;       // position - 1 -> row
  std::vector<int> positions_;  // row - 1 -> position
};

// The value a cell text reads as when it is a number (blanks around it, thousands separators and
// a leading sign allowed); nothing for any other text.
std::optional<double> sortNumber(std::string_view text);

// A person's click on a list's column header: the list sorts by that column, descending when it
// was already sorted ascending by it.
inline bool nextSortDescending(const RowOrder& order, int column) {
  return order.column() == column && !order.descending();
}

// Sorts a MsSuperGrid, MarlinVouchList or ListView by the column captioned `caption`. The error
// text when the control is no list or has no such column.
std::optional<std::string> sortList(Control& control, std::string_view caption, bool descending);

}  // namespace quillon::forms
