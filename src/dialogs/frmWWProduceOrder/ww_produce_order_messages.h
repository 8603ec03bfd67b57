// The texts the outsourced-order dialog shows: its message boxes and their titles.
#pragma once

#include <string>
#include <string_view>

namespace quillon::dialogs::ww_produce_order {

inline constexpr std::string_view kPromptTitle = "系统提示";
inline constexpr std::string_view kErrorTitle = "错误";

inline constexpr std::string_view kVendorMismatch = "请选择相同供应商的委外订单";
inline constexpr std::string_view kStaleData = "当前单据可能已经被他人修改请重新过滤后再进行生单！";
inline constexpr std::string_view kOrderMissing = "该委外订单不存在或已经被删除!";
inline constexpr std::string_view kOrderClosed = "该委外订单已经被关闭!";
inline constexpr std::string_view kLineTakenByRequisition = "该委外订单记录已经被限额领料!";

// OK with nothing marked on a list: "请选择" + the caption of the current tab + "！".
inline std::string pleaseSelect(std::string_view caption) {
  return "请选择" + std::string(caption) + "！";
}

}  // namespace quillon::dialogs::ww_produce_order
