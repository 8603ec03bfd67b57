// RecordsetRows: a recordset's rows bound to a list (as its RowSource) or to a grid's data rows (as
// their CellSource), read from the recordset's view when a cell is looked at instead of being
// copied: field f is the list's field f and the grid's column f + 1 (column 0 is the grid's mark).
// A field may be given a number format (a Format text such as the account's quantity format);
// its numbers are shown formatted, Null and values that are not numbers as they are stored.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ado/recordset_view.h"
#include "automation/vb_format.h"
#include "forms/cell_source.h"
#include "forms/row_source.h"

namespace quillon::forms {

class RecordsetRows final : public RowSource, public CellSource {
 public:
  explicit RecordsetRows(ado::RecordsetView view);

  // Formats the numbers of `field` (0-based); an empty format removes it.
  void setFormat(int field, std::string format);
  // Shows `field`'s text (formatted, Null empty) as `shown` turns it: a code as its name.
  using ShownText = std::function<std::string(std::string_view)>;
  void setShownText(int field, ShownText shown);

  const ado::RecordsetView& view() const { return view_; }

  int fieldCount() const override { return view_.fieldCount(); }
  std::string fieldName(int field) const override { return view_.fieldName(field); }
  int rowCount() const override { return view_.rowCount(); }
  std::string text(int row, int field) const override;
  std::string cellText(int index, int col) const override;
  // A formatted number field's value as its text reads (without making the text).
  std::optional<double> cellNumber(int index, int col) const override;
  // cellNumber of rows first, first + 1, ... of the column into `out`, up to `count` of them,
  // stopping before the first without one; returns how many were read.
  int cellNumbers(int col, int first, int count, double* out) const;
  // A recordset still loading: its view grows as more rows are read.
  bool mayGrow() const override { return view_.mayGrow(); }
  int grownRows() const override { return view_.rowCount(); }
  bool grow(int maxRows, std::chrono::nanoseconds budget) const override;
  void growToEnd() const override { view_.growToEnd(); }

 private:
  const automation::NumberFormat* formatOf(int field) const;
  // The field's text as formatted, before any ShownText.
  std::string storedText(int row, int field) const;

  mutable ado::RecordsetView view_;  // grows (more rows of the same recordset) while it loads
  std::vector<std::optional<automation::NumberFormat>> formats_;  // by field
  std::vector<ShownText> shown_;                                  // by field
};

}  // namespace quillon::forms
