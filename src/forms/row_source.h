// RowSource: what a list needs of a recordset to show it — field names and display texts by
// position. RecordsetRows (recordset_rows.h) adapts recordsets to it.
#pragma once

#include <chrono>
#include <string>

namespace quillon::forms {

class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual int fieldCount() const = 0;
  virtual std::string fieldName(int field) const = 0;  // 0-based
  virtual int rowCount() const = 0;
  // The value of a field of a row (both 0-based) as the list shows it; Null as "".
  virtual std::string text(int row, int field) const = 0;
  // A source whose rows are still loading: more rows may come at the end. grow() reads more of
  // them (up to `maxRows`, within about `budget`; the rows there are stay as they are) and tells
  // whether still more may come; growToEnd() reads them all.
  virtual bool mayGrow() const { return false; }
  virtual bool grow(int /*maxRows*/, std::chrono::nanoseconds /*budget*/) const { return false; }
  virtual void growToEnd() const {}
};

}  // namespace quillon::forms
