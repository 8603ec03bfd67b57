// GridCells: the texts of a grid, rows by columns. Rows written one cell at a time are held
// densely, and a row that was never written costs no storage. A block of rows can instead be
// bound to a CellSource: its cells are read from the source until they are written, and then the
// written text (kept per cell) wins, so binding 100 000 rows costs nothing per cell.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ado/chunked.h"
#include "automation/vb_format.h"
#include "forms/cell_source.h"

namespace quillon::forms {

class GridCells {
 public:
  int rows() const { return rows_; }
  int cols() const { return cols_; }
  // Growing adds empty rows (or columns); shrinking drops the last ones, bound rows included.
  void resize(int rows, int cols);
  // Callers check the bounds.
  std::string text(int row, int col) const;
  // Whether the cell holds exactly `text`, without copying what it holds.
  bool holds(int row, int col, std::string_view text) const;
  // The rows from first to last whose cell in the column holds exactly `text`, in order.
  std::vector<int> rowsHolding(int first, int last, int col, std::string_view text) const;
  // False when the cell already held the text (a bound cell's first write always counts).
  bool set(int row, int col, std::string text);
  bool set(int row, int col, std::string_view text);
  // Sets the cell to format.format(value); a bound cell keeps the number and makes the text only
  // when it is read. False when the cell already held that number in that format.
  bool setNumber(int row, int col, double value, const automation::NumberFormat& format);
  // setNumber(rows[i], col, values[i], format) for every i in order, and set(row, col, text) for
  // rows first to first + count - 1: a column written for many rows finds its storage once. True
  // when any cell changed.
  bool setNumbers(std::span<const int> rows, int col, std::span<const double> values,
                  const automation::NumberFormat& format);
  bool setTexts(int first, int count, int col, std::string_view text);
  // Keeps the cell's present text as written, so that a later change in the source does not
  // show through it.
  void pin(int row, int col);
  // Empties every cell and forgets the source.
  void clear();
  // Rows first to first + count - 1 become the source's rows 0 to count - 1, dropping what was
  // written to them. The caller has sized the grid to hold them.
  void bind(std::shared_ptr<const CellSource> source, int first, int count);
  // The bound block, when it is the grid's last rows, grows to `count` rows of its source (the
  // grid with it); what was written to its rows stays. False when the block is not the last rows.
  bool growBound(int count);
  bool bound(int row) const { return source_ && row >= first_ && row < first_ + count_; }
  // Whether the cell shows its source's text (bound and not written since).
  bool fromSource(int row, int col) const;
  // The source's text of a bound cell, written over or not; "" for a cell of an unbound row.
  std::string sourceText(int row, int col) const;
  // What a cell still showing its source's text reads as, when the source knows it (see
  // CellSource::cellNumber); nothing otherwise.
  std::optional<double> sourceNumber(int row, int col) const;

 private:
  // The cells of one column written since binding, for every bound row: a dialog that writes a
  // column writes it for many rows, so the texts go into one arena per column with a place per
  // row (a rewrite appends; the arena is rebuilt when it has grown twice what it holds). Places
  // and texts live in pooled blocks, which the next dialog's grid takes again.
  // A text of up to seven bytes (a mark, most quantities) is held in the cell's own eight bytes;
  // a cell written as a number keeps the number (in `numbers`, shown through the column's
  // `format`) and has its text made when it is read.
  struct Written {
    static constexpr std::uint64_t kUnwritten = ~std::uint64_t{0};
    static constexpr std::uint64_t kNumber = kUnwritten - 1;
    static constexpr std::uint64_t kInline = std::uint64_t{0xC0} << 56;  // | length << 56 | bytes
    static constexpr std::size_t kInlineBytes = 7;
    // offset << 32 | length (offset below 2^31), kInline | ..., kNumber or kUnwritten
    ado::ChunkedArray<std::uint64_t> cells;
    ado::TextArena bytes;
    ado::ChunkedArray<double> numbers;  // sized to the rows once a number is written
    std::optional<automation::NumberFormat> format;
    std::size_t stored = 0;  // bytes appended to the arena
    std::size_t live = 0;    // bytes of the texts in place in the arena
    bool has(std::size_t i) const { return i < cells.size() && cells[i] != kUnwritten; }
    bool isNumber(std::size_t i) const { return cells[i] == kNumber; }
    static bool isInline(std::uint64_t c) { return (c >> 59) == (kInline >> 59) && c < kNumber; }
    bool inArena(std::size_t i) const { return cells[i] < kInline; }
    std::string_view textAt(std::size_t i) const {
      const std::uint64_t& c = cells[i];
      if (isInline(c)) {
        // The bytes sit in the low seven bytes of the cell (little-endian storage).
        return {reinterpret_cast<const char*>(&c), static_cast<std::size_t>((c >> 56) & 7)};
      }
      return bytes.at(static_cast<std::uint32_t>(c >> 32), static_cast<std::uint32_t>(c));
    }
    std::string text(std::size_t i) const {
      return isNumber(i) ? format->format(numbers[i]) : std::string(textAt(i));
    }
    bool holds(std::size_t i, std::string_view text) const {
      return isNumber(i) ? format->format(numbers[i]) == text : textAt(i) == text;
    }
    void put(std::size_t i, std::string_view text);
    void putNumber(std::size_t i, double value);
    void truncate(std::size_t rows);
  };
  const Written* writtenAt(int col) const;
  Written& writtenColumn(int col);  // sized to the bound rows

  int rows_ = 0;
  int cols_ = 0;
  // Per row, up to the last row written outside the bound block; a row without cells is empty.
  std::vector<std::vector<std::string>> dense_;
  std::shared_ptr<const CellSource> source_;
  int first_ = 0;
  int count_ = 0;
  std::vector<Written> written_;  // per column; empty until the column is written
};

}  // namespace quillon::forms
