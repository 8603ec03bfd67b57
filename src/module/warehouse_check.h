// The warehouse check of the line grids' receiving warehouse and warehouse cells: the text must
// name a warehouse (by code, then by name); with the account option "CheckWareInv" on, the
// line's item must be kept there (a row of the warehouse-inventory table) or the person agrees
// to go on. Refusals show their message ("系统提示") and keep nothing.
#pragma once

#include <string>
#include <string_view>

namespace quillon::module {

inline constexpr std::string_view kWarehouseInvalid = "仓库不合法！";

// "[" + item + "]在仓库存货对照表中不存在！是否继续？"
std::string NotInWarehouseQuestion(std::string_view invCode);

struct WarehouseCheck {
  bool accepted = false;
  std::string code;
  std::string name;
};

// `invCode` is the line's item ("" checks the warehouse alone). Uses gContext.
WarehouseCheck CheckWarehouseForItems(std::string_view text, std::string_view invCode);

}  // namespace quillon::module
