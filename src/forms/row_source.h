// RowSource: what a list needs of a recordset to show it — field names and display texts by
// position. RecordsetRows (recordset_rows.h) adapts recordsets to it.
#pragma once

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
};

}  // namespace quillon::forms
