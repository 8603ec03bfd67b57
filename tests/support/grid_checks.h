// Reading and marking a dialog's grid by its column captions, as the dialog tests check it.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "forms/super_grid.h"

namespace quillon::test_support {

// The texts of a column (by caption) over the grid's visible data rows.
inline std::set<std::string> column(const forms::MsSuperGrid& grid, std::string_view caption) {
  std::set<std::string> out;
  const int col = grid.colByCaption(caption);
  for (int row = 1; col >= 0 && row < grid.Rows(); ++row) {
    if (grid.RowHeight(row) != 0) out.insert(grid.TextMatrix(col, row));
  }
  return out;
}

// The first data row whose cell under `caption` reads `text`; 0 when none does.
inline int rowOf(const forms::MsSuperGrid& grid, std::string_view caption, std::string_view text) {
  const int col = grid.colByCaption(caption);
  for (int row = 1; col >= 0 && row < grid.Rows(); ++row) {
    if (grid.TextMatrix(col, row) == text) return row;
  }
  return 0;
}

inline std::string cellOf(const forms::MsSuperGrid& grid, int row, std::string_view caption) {
  return grid.TextMatrix(grid.colByCaption(caption), row);
}

// Clicks the mark column of the row `rowOf` finds, as a person marks it.
inline void markRow(forms::MsSuperGrid& grid, std::string_view caption, std::string_view text) {
  const int row = rowOf(grid, caption, text);
  ASSERT_GT(row, 0) << text;
  ASSERT_TRUE(grid.userClickCell(row, 0));
}

}  // namespace quillon::test_support
