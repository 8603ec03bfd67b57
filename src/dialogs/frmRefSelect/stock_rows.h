// The candidate rows as the stock dialog's grid shows them, read from the recordset's rows when a
// cell is looked at instead of being copied into the grid: field f in grid column f + 1, the stock
// quantity and pieces in the account's formats, every other value as its display text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/cell_source.h"

namespace quillon::ado {
class RecordData;
}

namespace quillon::dialogs::ref_select {

class StockRows final : public forms::CellSource {
 public:
  struct Formats {
    int stockCol = 0;     // grid column of the stock quantity, 0 when not formatted
    int stockNumCol = 0;  // grid column of the stock pieces, 0 when not formatted
    std::string qty;
    std::string num;
  };

  // `rows` are row numbers of `data`, in the order the grid lists them.
  StockRows(std::shared_ptr<const ado::RecordData> data, std::vector<std::uint32_t> rows,
            Formats formats);

  std::string text(int index, int col) const override;

 private:
  std::shared_ptr<const ado::RecordData> data_;
  std::vector<std::uint32_t> rows_;
  Formats formats_;
};

}  // namespace quillon::dialogs::ref_select
