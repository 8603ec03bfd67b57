// Sort texts ("cInvCode", "a, b DESC", "入库日期 Desc ,入库系统编号 Desc") and the stable sort of a
// recordset's row numbers by them: rows with equal keys keep their order, Nulls come first in
// ascending order, text compares without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ado/record_data.h"

namespace quillon::ado {

struct SortKey {
  std::string field;
  bool descending = false;
};

// 3001 for a text that is not a list of names each optionally followed by ASC or DESC. A blank
// text gives no keys.
std::vector<SortKey> parseSortText(std::string_view text);

// Sorts `rows` (row numbers of `data`) stably by the keys; 3265 for a key naming no field.
void sortRows(const RecordData& data, const std::vector<SortKey>& keys,
              std::vector<std::uint32_t>& rows);

}  // namespace quillon::ado
