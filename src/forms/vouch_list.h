// MarlinVouchList: the voucher list of the outsourced-order and bin-position dialogs. Its columns
// come from a column-definition text; cells are texts addressed by (row, column) — row first. Row
// 0 holds the captions, column 0 the mark "Y" of a marked row; the defined columns are 1 to n.
//
// Column-definition text: one column per entry, entries separated by ";" or line breaks, each
// entry "key,caption,width[,format]" (width in twips, 0 hides; blanks around the parts are
// ignored; the format is the rest of the entry and may hold commas). Keys and captions cannot
// contain "," and nothing can contain ";".
//
// Beside its columns it may show a column of row labels (row_labels.h), after the mark column.
//
// Space marks or unmarks the current row, as a click on its mark cell does.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "forms/grid_cells.h"
#include "forms/row_growth.h"
#include "forms/row_labels.h"
#include "forms/row_order.h"
#include "forms/row_source.h"

namespace quillon::forms {

struct VouchColumn {
  std::string key;
  std::string caption;
  int width = 1000;
  std::string format;
  bool editable = false;  // a person may edit the column's cells (this time's quantities)
};

// Parses a column-definition text; ComError 5 naming the bad entry when it cannot.
std::vector<VouchColumn> parseColumnDefinitions(std::string_view text);

class MarlinVouchList : public Control, public RowLabels, private GrowingRows {
 public:
  explicit MarlinVouchList(std::string name);
  ~MarlinVouchList() override;
  MarlinVouchList(const MarlinVouchList&) = delete;
  MarlinVouchList& operator=(const MarlinVouchList&) = delete;

  // Replaces the columns and drops every data row.
  void setColumnDefinitions(std::string_view text);
  // Back to nothing: no data rows and no defined columns.
  void resetLayout();
  const std::vector<VouchColumn>& columns() const { return columns_; }
  // Whether the rows the list has as its window opens are all it will show (a form that fills it
  // before showing, or never): a drawn window is then sized to the list's columns, not widened
  // for rows still to come. Off by default.
  bool rowsSettled() const { return rowsSettled_; }
  void setRowsSettled(bool on) { rowsSettled_ = on; }
  // Shows the source's rows as the data rows: each defined column shows the field of the same key
  // (compared without regard to case), columns without a field stay empty. Without defined columns
  // the source's fields become the columns. Marks are cleared. The rows are read from the source
  // when a cell is looked at, and what is written to a cell is kept over it. A source whose rows
  // are still loading (RowSource::mayGrow) shows the rows it has, and the list grows as the
  // renderer reads more (row_growth.h), announcing "RowsAdded"; marks, the current row and
  // written cells stay.
  void bind(std::shared_ptr<const RowSource> source);
  // Whether the list's rows are still loading.
  bool growing() const { return growing_ != nullptr; }
  // Drops every data row; the columns stay.
  void Clear();

  // The rows with the captions' row. Rows still loading are read first (as is a row asked for
  // past those read): nothing but the renderer ever sees part of the rows.
  int Rows() const {
    settleRows();
    return cells_.rows();
  }
  // The rows read so far, for the renderer, which draws a list as it grows.
  int shownRows() const { return cells_.rows(); }
  int Cols() const { return static_cast<int>(columns_.size()) + 1; }
  // ComError 381 outside the list.
  std::string TextMatrix(int row, int col) const;
  void setTextMatrix(int row, int col, std::string text);
  // Column number of a field key (without regard to case), -1 when the list has no such column.
  int colIndex(std::string_view key) const;
  void setColFormat(int col, std::string format);
  void setColWidth(int col, int width);
  // Columns are read-only until the form opens them for editing.
  void setColEditable(int col, bool on);
  int Row() const { return row_; }
  void setRow(int row);

  // The order the data rows are shown in (row_order.h). Rows keep their numbers; a change of the
  // row count puts the list back in its own order. Sorting announces "Order".
  const RowOrder& rowOrder() const { return order_; }
  void sortRows(int col, bool descending);
  // A person clicks a column's header: sorted by it, again descending (row_order.h).
  bool userSortColumn(int col);

  bool Marked(int row) const;
  // From code: no event.
  void setMarked(int row, bool on);
  int markedCount() const;

  bool canFocus() const override { return true; }
  std::string displayText() const override;
  // The data rows and the marked ones; nothing for a list without columns.
  std::optional<std::string> statusText() const override;
  bool defaultKeyDown(int keyCode, int shift) override;

  std::function<void(int Row)> RowMarkChanged;
  // A person's edit of a cell: text by reference, Cancel keeps the old text.
  std::function<void(std::string& Text, bool& Cancel, int Row, int Col)> CellChange;
  std::function<void()> Click;
  std::function<void()> DblClick;
  // A person gave a column another width (twips), after the list took it.
  std::function<void(int Col, int Width)> ColumnResized;

  // A person drags a shown column (1 to n) to another width; ColumnResized follows. False for the
  // mark column, a hidden one, or a width below 1.
  bool userResizeColumn(int col, int width);
  // A person toggles the mark of a data row; RowMarkChanged runs after the mark changed.
  bool userMark(int row);
  bool userSelectRow(int row);
  // Refused (false) for the caption row, the mark column and columns not open for editing.
  bool userEditCell(int row, int col, std::string text);

 protected:
  int labelledRows() const override { return Rows(); }
  void rowLabelsChanged(bool layout) override;

 private:
  void checkCell(int row, int col) const;
  void writeCaptions();
  bool growRows(int maxRows, std::chrono::nanoseconds budget) override;
  void finishRows() override;
  void takeGrownRows();
  void stopRows();
  // Reads the rows still loading. Const: the list's rows stay what they are, more are read.
  void settleRows() const {
    if (growing_) const_cast<MarlinVouchList*>(this)->finishRows();
  }
  std::shared_ptr<const RowSource> growing_;
  std::vector<VouchColumn> columns_;
  GridCells cells_;  // row 0 = captions, column 0 = marks
  RowOrder order_;
  int row_ = 0;
  bool rowsSettled_ = false;
};

}  // namespace quillon::forms
