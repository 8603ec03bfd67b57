// GridCells: the texts of a grid, rows by columns. Rows written one cell at a time are held
// densely, and a row that was never written costs no storage. A block of rows can instead be
// bound to a CellSource: its cells are read from the source until they are written, and then the
// written text (kept per cell) wins, so binding 100 000 rows costs nothing per cell.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/cell_source.h"

namespace quillon::forms {

class GridCells {
 public:
  int rows() const { return static_cast<int>(dense_.size()); }
  int cols() const { return cols_; }
  // Growing adds empty rows (or columns); shrinking drops the last ones, bound rows included.
  void resize(int rows, int cols);
  // Callers check the bounds.
  std::string text(int row, int col) const;
  // False when the cell already held the text (a bound cell's first write always counts).
  bool set(int row, int col, std::string text);
  // Keeps the cell's present text as written, so that a later change in the source does not
  // show through it.
  void pin(int row, int col);
  // Empties every cell and forgets the source.
  void clear();
  // Rows first to first + count - 1 become the source's rows 0 to count - 1, dropping what was
  // written to them. The caller has sized the grid to hold them.
  void bind(std::shared_ptr<const CellSource> source, int first, int count);
  bool bound(int row) const { return source_ && row >= first_ && row < first_ + count_; }

 private:
  // The cells of one column written since binding, for every bound row: a dialog that writes
  // a column writes it for many rows, so one vector per column beats one per row.
  struct Written {
    std::vector<std::string> texts;
    std::vector<bool> present;
  };
  const std::string* written(int row, int col) const;
  Written& writtenColumn(int col);  // sized to the bound rows

  int cols_ = 0;
  std::vector<std::vector<std::string>> dense_;  // per row; empty until a cell is written
  std::shared_ptr<const CellSource> source_;
  int first_ = 0;
  int count_ = 0;
  std::vector<Written> written_;  // per column; empty until the column is written
};

}  // namespace quillon::forms
