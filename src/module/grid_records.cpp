#include "module/grid_records.h"

#include "ado/fields.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/text_compare.h"
#include "forms/super_grid.h"
#include "module/text_helpers.h"

namespace quillon::module {

std::vector<int> MarkedRows(const forms::MsSuperGrid& grid) {
  std::vector<int> rows;
  for (int r = 1; r < grid.Rows(); ++r) {
    if (grid.isMarked(r) && grid.RowHeight(r) != 0) rows.push_back(r);
  }
  return rows;
}

GridRowRecord AddRecordFromGridRow(const forms::MsSuperGrid& grid, LineGrid kind, int row,
                                   ado::Recordset& rs) {
  GridRowRecord read;
  rs.addNew();
  const auto& fields = *rs.fields();
  const int count = fields.count();
  const bool line = kind != LineGrid::None;
  std::optional<std::size_t> quantity;
  std::optional<std::size_t> pieces;
  for (int f = 0; f < count && f + 1 < grid.Cols(); ++f) {
    const auto index = static_cast<std::size_t>(f);
    const std::string lower = automation::asciiLower(fields.item(index)->name());
    const std::string text = grid.TextMatrix(f + 1, row);
    if (lower == "iquantity") {
      quantity = index;
      read.loadedQuantity = text;
    }
    if (lower == "inum") pieces = index;
    if (!text.empty())
      rs.setValue(automation::Variant(static_cast<std::int32_t>(f)), automation::Variant(text));
  }
  if (!line || grid.Cols() < 3) return read;
  read.thisQuantity = ToNumber(automation::Variant(grid.TextMatrix(grid.Cols() - 2, row)));
  read.thisPieces = ToNumber(automation::Variant(grid.TextMatrix(grid.Cols() - 1, row)));
  if (quantity) {
    rs.setValue(automation::Variant(static_cast<std::int32_t>(*quantity)),
                automation::Variant(read.thisQuantity));
  }
  if (pieces) {
    rs.setValue(automation::Variant(static_cast<std::int32_t>(*pieces)),
                automation::Variant(read.thisPieces));
  }
  return read;
}

int CollectMarkedRows(const forms::MsSuperGrid& grid, LineGrid kind, ado::Recordset& rs, int row,
                      const std::function<void(const GridRowRecord&)>& complete) {
  const std::vector<int> rows = row > 0 ? std::vector<int>{row} : MarkedRows(grid);
  const bool sign = kind != LineGrid::None && ado::hasField(rs, "bQuanSign");
  for (const int r : rows) {
    const GridRowRecord read = AddRecordFromGridRow(grid, kind, r, rs);
    if (sign)
      rs.setValue(automation::Variant("bQuanSign"), automation::Variant(read.thisQuantity >= 0));
    if (complete) complete(read);
    rs.update();
  }
  return static_cast<int>(rows.size());
}

}  // namespace quillon::module
