// MsSuperGrid: the spread grid of the order, delivery and stock dialogs. Cells are plain texts
// addressed by (column, row) — column first, as the control's own TextMatrix is. Row 0 holds the
// captions and column 0 the mark "Y" of a chosen row; both are fixed, so a person cannot edit
// them. A row height or column width of 0 hides the row or column; a column whose width the form
// never set is drawn as wide as its content needs. With Redraw off, cell changes are not announced
// one by one; switching it back on announces "Redraw" once.
//
// Beside its columns it may show a column of row labels (row_labels.h), after the mark column.
//
// Space on a data row is a click on its mark cell (the dialogs mark rows on that click); the
// current column stays where it was. F4 or Alt+Down on a cell that shows a button presses it.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/constants.h"
#include "forms/control.h"
#include "forms/grid_cells.h"
#include "forms/row_growth.h"
#include "forms/row_labels.h"
#include "forms/row_order.h"

namespace quillon::forms {

class MsSuperGrid : public Control, public RowLabels, private GrowingRows {
 public:
  static constexpr int kDefaultRowHeight = 285;
  static constexpr int kDefaultColWidth = 1000;

  explicit MsSuperGrid(std::string name, int rows = 1, int cols = 1);
  ~MsSuperGrid() override;
  MsSuperGrid(const MsSuperGrid&) = delete;
  MsSuperGrid& operator=(const MsSuperGrid&) = delete;

  // The rows with the captions' row. Rows still loading are read first (as is a row asked for
  // past those read): nothing but the renderer ever sees part of the rows.
  int Rows() const {
    settleRows();
    return rows_;
  }
  // The rows read so far, for the renderer, which draws a grid as it grows.
  int shownRows() const { return rows_; }
  // Growing adds empty rows, shrinking drops the last ones (Rows = 1 leaves only the captions).
  void setRows(int rows);
  int Cols() const { return cols_; }
  void setCols(int cols);
  // ComError 381 "Invalid property array index" outside the grid.
  std::string TextMatrix(int col, int row) const;
  void setTextMatrix(int col, int row, std::string text);
  // The same as setTextMatrix(col, row, format.format(value)); a cell of bound rows keeps the
  // number and makes its text when it is read (painted, looked at), so a rule that writes a
  // column of 100 000 rows formats only what is seen.
  void setNumberMatrix(int col, int row, double value, const automation::NumberFormat& format);
  // setNumberMatrix(col, rows[i], values[i], format) for every i, the bounds checked once and a
  // change announced once.
  void setNumberColumn(int col, std::span<const int> rows, std::span<const double> values,
                       const automation::NumberFormat& format);
  // Rows = count + 1, the data rows' cells read from `source` until they are written; row 0
  // (the captions) stays. For a large recordset this costs nothing per cell. A source whose rows
  // are still loading (CellSource::mayGrow) makes the grid grow as the renderer reads more
  // (row_growth.h), announcing "RowsAdded"; any other change of the rows ends the growing.
  void bindRows(std::shared_ptr<const CellSource> source, int count);
  // Whether the grid's bound rows are still loading.
  bool growing() const { return growing_ != nullptr; }
  // Keeps the cell's present text when what its source shows is about to change.
  void pinCell(int col, int row);
  // Whether a bound cell still shows its source's text, and that text (written over or not).
  bool cellFromSource(int col, int row) const;
  std::string sourceText(int col, int row) const;
  // The number a cell still showing its source's text reads as, when the source can tell without
  // making the text (a formatted number); nothing otherwise, and the caller reads TextMatrix.
  std::optional<double> sourceNumber(int col, int row) const;
  int Row() const { return row_; }
  void setRow(int row);
  int Col() const { return col_; }
  void setCol(int col);
  int RowHeight(int row) const;
  void setRowHeight(int row, int height);
  int ColWidth(int col) const;
  void setColWidth(int col, int width);
  // Whether the form set the column's width (else it is the grid's default).
  bool ColWidthSet(int col) const;
  bool Redraw() const { return redraw_; }
  void setRedraw(bool on);
  // Empties every cell, captions included; the row and column counts stay.
  void Clear();
  // Commits an edit in progress through CellChange, as leaving the cell would.
  void FinishEdit();
  std::uint32_t BackColor() const { return backColor_; }
  void setBackColor(std::uint32_t rgb);
  const std::string& ColFormat(int col) const;
  void setColFormat(int col, std::string format);
  bool ColLock(int col) const;  // edit lock
  void setColLock(int col, bool locked);
  int ColMaxLength(int col) const;  // characters, 0 unlimited
  void setColMaxLength(int col, int length);
  bool ColButton(int col) const;  // the column's cells show a button
  void setColButton(int col, bool on);

  // The mark of a data row (column 0 holds kMarkText or nothing); from code, so no CellChange.
  bool isMarked(int row) const;
  void setMarked(int row, bool on);
  // Marks rows first to last.
  void markRows(int first, int last);
  // The marked data rows, in order.
  std::vector<int> markedRows() const;

  // The order the data rows are shown in (row_order.h). Rows keep their numbers; a change of the
  // row count puts the list back in its own order. Sorting announces "Order".
  const RowOrder& rowOrder() const { return order_; }
  void sortRows(int col, bool descending);
  // A person clicks a column's header: sorted by it, again descending (row_order.h).
  bool userSortColumn(int col);

  // The first column whose caption (row 0) equals `caption`, -1 when none.
  int colByCaption(std::string_view caption) const;
  // Data rows (1 to Rows - 1) whose height is not 0, and those of them that are marked.
  int visibleDataRows() const;
  int markedVisibleRows() const;
  // Whether a person's click on the cell may edit it: a data cell of a column that is not locked
  // and has no button, on a row that shows.
  bool cellEditable(int row, int col) const;

  // The edit in progress, if any.
  struct PendingEdit {
    int row;
    int col;
    std::string text;
  };
  const std::optional<PendingEdit>& pendingEdit() const { return pending_; }

  bool canFocus() const override { return true; }
  std::string displayText() const override;
  // StatusLine's text when the form gives one; else the rows shown and marked (list_status.h),
  // nothing for a grid that was never filled (no captions). Read when drawn: a grid announces
  // every change of its cells, and the status follows them.
  std::optional<std::string> statusText() const override;
  std::function<std::string()> StatusLine;
  // The status without StatusLine: the part a form's status line starts with.
  std::string rowsStatus() const;
  bool defaultKeyDown(int keyCode, int shift) override;

  // Text by reference (a handler may change what is stored), Cancel keeps the old text.
  std::function<void(std::string& Text, bool& Cancel, int Row, int Col)> CellChange;
  std::function<void(int Row, int Col, bool& Cancel)> BeforeEdit;
  std::function<void(int Row, int Col)> CellButtonClick;
  std::function<void()> RowColChange;
  std::function<void()> Click;
  std::function<void()> DblClick;
  // A text entered into the grid's scan field (list_scan.h): the form finds the line it names and
  // sets Row to it, or leaves Row 0 when no line matches. A grid without a handler has no scan
  // field.
  std::function<void(const std::string& Text, int& Row)> Scan;

  // A person makes a cell current (RowColChange runs when it moved).
  bool userSelectCell(int row, int col);
  // A person clicks a cell: the grid takes the focus, the cell becomes current, then Click and
  // the mouse-up of the left button run.
  bool userClickCell(int row, int col);
  // A person starts editing a cell (BeforeEdit may refuse; fixed and locked cells refuse), types
  // the text, and commits it with FinishEdit. userEditCell does all three.
  bool userBeginEdit(int row, int col);
  void userEditText(std::string text);
  // A person abandons the edit in progress (Esc in the cell): nothing is committed.
  void userCancelEdit();
  bool userEditCell(int row, int col, std::string text);
  bool userCellButton(int row, int col);
  // A person (or a keyboard-wedge scanner) enters `text` into the scan field: the line the form
  // found (0 for none), or nothing when the grid has no scan field or cannot be reached.
  std::optional<int> userScan(const std::string& text);
  bool hasScanField() const { return static_cast<bool>(Scan); }

 protected:
  int labelledRows() const override { return rows_; }
  void rowLabelsChanged(bool layout) override;

 private:
  bool growRows(int maxRows, std::chrono::nanoseconds budget) override;
  void finishRows() override;
  void takeGrownRows();
  void stopRows();
  // Reads the rows still loading. Const: the grid's rows stay what they are, more are read.
  void settleRows() const {
    if (growing_) const_cast<MsSuperGrid*>(this)->finishRows();
  }
  std::shared_ptr<const CellSource> growing_;
  void checkCell(int col, int row) const;
  void checkCol(int col) const;
  void checkRow(int row) const;
  void cellChanged();
  struct Column {
    int width = kDefaultColWidth;
    bool widthSet = false;
    std::string format;
    bool locked = false;
    int maxLength = 0;
    bool button = false;
  };
  int rows_;
  int cols_;
  GridCells cells_;
  RowOrder order_;
  std::vector<int> rowHeights_;
  std::vector<Column> columns_;
  int row_ = 0;
  int col_ = 0;
  bool redraw_ = true;
  bool dirtyWhileOff_ = false;
  std::uint32_t backColor_ = 0xFFFFFF;
  std::optional<PendingEdit> pending_;
};

}  // namespace quillon::forms
