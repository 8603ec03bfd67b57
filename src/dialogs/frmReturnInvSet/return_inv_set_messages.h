// What the return-inventory picker shows that is its own: the root of its tree, its question,
// prompts and refusal, its status texts and the captions of its toolbar, menus and list.
#pragma once

#include <string>
#include <string_view>

namespace quillon::dialogs::return_inv_set {

inline constexpr std::string_view kCaption = "选择存货";
inline constexpr std::string_view kRootText = "存货";
inline constexpr std::string_view kRootImage = "folder";
inline constexpr std::string_view kChooseAll = "确认要选择全部存货吗?";
inline constexpr std::string_view kRowPrompt = "行数：";
inline constexpr std::string_view kRowTitle = "定位行数";
inline constexpr std::string_view kBadRow = "不正确的行数值 \r\n请重新输入";
// The mark of a chosen row, in the list's first column.
inline constexpr std::string_view kChosen = "√";

// The order the Order menu offers: "降" while the list is ascending, "升" while it is descending.
inline constexpr std::string_view kAscending = "升";
inline constexpr std::string_view kDescending = "降";
inline constexpr std::string_view kOfferDescending = "降序(&D)";

inline std::string totalText(long count) {
  return "共" + std::to_string(count) + "条";
}
inline std::string rowText(long row) {
  return "第" + std::to_string(row) + "条";
}

// List columns: the mark, then the inventory's fields.
inline constexpr std::string_view kMarkColumn = "选择";
struct ListColumn {
  std::string_view caption;
  std::string_view field;
  int width;
};
inline constexpr ListColumn kListColumns[] = {
    {"存货编码", "cInvCode", 1300},  {"存货名称", "cInvName", 1900},
    {"规格型号", "cInvStd", 1500},   {"计量单位", "cComUnitName", 800},
    {"存货分类", "cInvCName", 1000},
};

}  // namespace quillon::dialogs::return_inv_set
