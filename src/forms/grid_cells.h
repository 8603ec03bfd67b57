// GridCells: the texts of a grid, rows by columns. Rows written one cell at a time are held
// densely, and a row that was never written costs no storage. A block of rows can instead be
// bound to a CellSource: its cells are read from the source until they are written, and then the
// written text (kept per cell) wins, so binding 100 000 rows costs nothing per cell.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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
  // Whether the cell shows its source's text (bound and not written since).
  bool fromSource(int row, int col) const;
  // The source's text of a bound cell, written over or not; "" for a cell of an unbound row.
  std::string sourceText(int row, int col) const;

 private:
  // The cells of one column written since binding, for every bound row: a dialog that writes a
  // column writes it for many rows, so the texts go into one byte buffer per column with a place
  // per row (a rewrite appends; the buffer is compacted when it has grown twice what it holds).
  struct Written {
    static constexpr std::uint32_t kUnwritten = 0xFFFFFFFF;
    std::string bytes;
    std::vector<std::uint64_t> offset;
    std::vector<std::uint32_t> length;  // kUnwritten for a cell still read from the source
    std::size_t live = 0;               // bytes of the texts in place
    bool has(std::size_t i) const { return i < length.size() && length[i] != kUnwritten; }
    std::string_view at(std::size_t i) const { return {bytes.data() + offset[i], length[i]}; }
    void put(std::size_t i, std::string_view text);
    void truncate(std::size_t rows);
  };
  Written* writtenAt(int col);
  Written& writtenColumn(int col);  // sized to the bound rows

  int cols_ = 0;
  std::vector<std::vector<std::string>> dense_;  // per row; empty until a cell is written
  std::shared_ptr<const CellSource> source_;
  int first_ = 0;
  int count_ = 0;
  std::vector<Written> written_;  // per column; empty until the column is written
};

}  // namespace quillon::forms
