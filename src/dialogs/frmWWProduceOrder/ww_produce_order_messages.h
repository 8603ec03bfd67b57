// The texts the outsourced-order dialog shows that are its own: its refusals and the title of
// the vendor refusal. The prompt title, the stale-rows and the nothing-chosen refusals are the
// kit's (forms/dialog_shell.h, dialogs/kit/reference_texts.h).
#pragma once

#include <string>
#include <string_view>

namespace quillon::dialogs::ww_produce_order {

inline constexpr std::string_view kErrorTitle = "错误";

inline constexpr std::string_view kVendorMismatch = "请选择相同供应商的委外订单";
inline constexpr std::string_view kOrderMissing = "该委外订单不存在或已经被删除!";
inline constexpr std::string_view kOrderClosed = "该委外订单已经被关闭!";
inline constexpr std::string_view kLineTakenByRequisition = "该委外订单记录已经被限额领料!";

// A this-time quantity typed into a list cell that is not a number; the cell keeps its value.
inline std::string quantityNotNumber(std::string_view text) {
  return "本次数量[" + std::string(text) + "]不是数字";
}

}  // namespace quillon::dialogs::ww_produce_order
