// CellSource: texts a grid shows for a block of rows without holding them. A dialog that lists a
// large recordset binds its rows to the grid through one; the grid asks only for the cells it is
// read for (a painted screen, a rule that looks at a row) and keeps what is written to it.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace quillon::forms {

class CellSource {
 public:
  virtual ~CellSource() = default;
  // The text of grid column `col` of the source's row `index` (both 0-based; column 0 is the
  // grid's mark column). Never throws; a cell the source does not know is "".
  virtual std::string cellText(int index, int col) const = 0;
  // The number that cell's text reads as, when the source knows it without making the text;
  // nothing when the text must be read.
  virtual std::optional<double> cellNumber(int /*index*/, int /*col*/) const {
    return std::nullopt;
  }
  // A source whose rows are still loading (see RowSource::mayGrow): how many rows it has now,
  // whether more may come, and reading more of them.
  virtual bool mayGrow() const { return false; }
  virtual int grownRows() const { return 0; }
  virtual bool grow(int /*maxRows*/, std::chrono::nanoseconds /*budget*/) const { return false; }
  virtual void growToEnd() const {}
};

}  // namespace quillon::forms
