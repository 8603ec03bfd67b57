// Texts the stock selection dialog shows: refusals of edited values, the re-allocation question,
// the outcome of automatic allocation, and the errors naming what its candidate query lacks.
#pragma once

#include <string>
#include <string_view>

#include "dialogs/kit/reference_texts.h"

namespace quillon::dialogs::ref_select {

// The caption of a free item, followed by its number (the header items, the candidate fields).
inline constexpr std::string_view kFreeItemCaption = "自由项";

inline constexpr std::string_view kTraceTitle = "追踪分配";
inline constexpr std::string_view kBatchTitle = "批次分配";

inline constexpr std::string_view kRedNoPositive = "红字单据不能输入正数";
inline constexpr std::string_view kBlueNoNegative = "篮字单据不能输入负数";
inline constexpr std::string_view kNotANumber = kit::kNotANumber;
inline constexpr std::string_view kSignFixed = "不能改变数据的正负";
inline constexpr std::string_view kRateNotNegative = "换算率不能输入负数";
inline constexpr std::string_view kLessThanAllocatedQty = "修改的数量小于已分配的数量";
inline constexpr std::string_view kLessThanAllocatedNum = "修改的数量小于已分配的件数";
inline constexpr std::string_view kAllocateAgain = "，是否重新分配？";

inline constexpr std::string_view kNoReceipt = "没有找到对应的入库信息，不能自动分配";
inline constexpr std::string_view kNoBatchStock = "没有找到对应的批次结存信息，不能自动分配";
inline constexpr std::string_view kShortfallHead = "没有完全分配，还有";
inline constexpr std::string_view kShortfallTail = "没有分配";

// The candidate field a refusal names a row by, when the query has it.
inline constexpr std::string_view kBatchField = "批号";

// A this-time amount above what the row holds, on an account that allows no negative stock:
// "第2行（批号SN01）的出库数量不能大于结存数量 895.00".
inline std::string overStockMessage(int row, std::string_view batch, std::string_view thisName,
                                    std::string_view stockName, std::string_view stock) {
  std::string text = "第" + std::to_string(row) + "行";
  if (!batch.empty()) text += "（批号" + std::string(batch) + "）";
  return text + "的" + std::string(thisName) + "不能大于" + std::string(stockName) + " " +
         std::string(stock);
}
// The status line's note when the account lets an issue go below zero.
inline constexpr std::string_view kNegativeStockAllowed = "账套允许负库存，出库可大于结存";

inline std::string missingFieldMessage(std::string_view field) {
  return "查询结果缺少字段[" + std::string(field) + "]";
}
inline std::string misplacedFieldMessage(std::string_view field, int fromEnd) {
  return "查询结果的字段[" + std::string(field) + "]应为倒数第" + std::to_string(fromEnd) +
         "个字段";
}

}  // namespace quillon::dialogs::ref_select
