// Texts every reference dialog shows: on OK the refusal when nothing is chosen in a list and the
// refusal of rows that changed since they were listed; the refusal of a quantity that is no number;
// the question OK of a line-grid dialog asks first.
#pragma once

#include <string>
#include <string_view>

namespace quillon::dialogs::kit {

inline constexpr std::string_view kStaleRowsMessage =
    "当前单据可能已经被他人修改请重新过滤后再进行生单！";

// A quantity cell that holds no number.
inline constexpr std::string_view kNotANumber = "请输入数字";

// OK of the line-grid dialogs: the question before it collects, and what it asks to be chosen
// ("请选择记录！").
inline constexpr std::string_view kConfirmMessage = "确认要生单吗？";
inline constexpr std::string_view kRecordsWhat = "记录";

// "请选择" + what is to be chosen (a tab's or a list's caption) + "！".
inline std::string pleaseSelect(std::string_view what) {
  return "请选择" + std::string(what) + "！";
}

}  // namespace quillon::dialogs::kit
