// Texts the stock selection dialog shows: refusals of edited values, the re-allocation question
// and the outcome of automatic allocation.
#pragma once

#include <string_view>

namespace quillon::dialogs::ref_select {

inline constexpr std::string_view kPromptTitle = "系统提示";
inline constexpr std::string_view kTraceTitle = "追踪分配";
inline constexpr std::string_view kBatchTitle = "批次分配";

inline constexpr std::string_view kRedNoPositive = "红字单据不能输入正数";
inline constexpr std::string_view kBlueNoNegative = "篮字单据不能输入负数";
inline constexpr std::string_view kNotANumber = "请输入数字";
inline constexpr std::string_view kSignFixed = "不能改变数据的正负";
inline constexpr std::string_view kRateNotNegative = "换算率不能输入负数";
inline constexpr std::string_view kLessThanAllocatedQty = "修改的数量小于已分配的数量";
inline constexpr std::string_view kLessThanAllocatedNum = "修改的数量小于已分配的件数";
inline constexpr std::string_view kAllocateAgain = "，是否重新分配？";

inline constexpr std::string_view kNoReceipt = "没有找到对应的入库信息，不能自动分配";
inline constexpr std::string_view kNoBatchStock = "没有找到对应的批次结存信息，不能自动分配";
inline constexpr std::string_view kShortfallHead = "没有完全分配，还有";
inline constexpr std::string_view kShortfallTail = "没有分配";

}  // namespace quillon::dialogs::ref_select
