// The status line under a list or grid: what a person reads there without adding up by eye. A
// list says how many data rows it shows and how many of them are marked; a list that was filled
// and shows no row says so instead of showing an empty box.
#pragma once

#include <string>
#include <string_view>

namespace quillon::forms {

inline constexpr std::string_view kNoMatchingRecords = "没有符合条件的记录";

// "共 3 行，已选 1 行"; kNoMatchingRecords for a filled list of no rows.
std::string RowsStatus(int rows, int marked);

}  // namespace quillon::forms
