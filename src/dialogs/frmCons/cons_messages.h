// Texts the delivery-note dialog shows: its caption, the items of its drop-down lists, the
// refusals of edited line cells and of OK, and what the bulk batch and receipt assignments say.
#pragma once

#include <string_view>

namespace quillon::dialogs::cons {

inline constexpr std::string_view kCaption = "选择发货单";

// Line cells.
inline constexpr std::string_view kQuantitySignHead = "本次出库数量不能为";
inline constexpr std::string_view kPiecesSignHead = "本次出库件数不能为";
inline constexpr std::string_view kPositive = "正数";
inline constexpr std::string_view kNegative = "负数";
inline constexpr std::string_view kAboveIssueLimit = "本次出库数量不能大于出库上限范围！";
inline constexpr std::string_view kAboveOpenQuantity = "本次出库数量不能大于未出库数量";

// OK.
inline constexpr std::string_view kNoHead = "发货单表头为空！请重新生单";
inline constexpr std::string_view kLineSignHead = "本次出库数量/件数不能为";

// Bulk assignment over all lines (Ctrl+E batches, Ctrl+O receipt vouchers).
inline constexpr std::string_view kBulkBatchStart = "批量指定批次";
inline constexpr std::string_view kBulkBatchTitle = "批量批次指定";
inline constexpr std::string_view kBulkReceiptStart = "批量指定入库单据号";
inline constexpr std::string_view kBulkReceiptTitle = "批量入库单据号指定";
inline constexpr std::string_view kRedLineByHand = "红字发货单不支持自动指定功能，请手工指定。";

// Registry value of the edit-after-generating box.
inline constexpr std::string_view kInvoiceValue = "invoice";

// The function right that lets the user update the delivery note from the issued quantity.
inline constexpr std::string_view kUpdateNoteRight = "ST0118";

}  // namespace quillon::dialogs::cons
