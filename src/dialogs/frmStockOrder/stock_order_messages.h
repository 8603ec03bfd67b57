// Texts the order and arrival-note dialog shows: its captions, the tab-switch questions, the
// refusals of edited line cells, of the receiving warehouse, of the pickers and of OK.
#pragma once

#include <string_view>

namespace quillon::dialogs::stock_order {

inline constexpr std::string_view kCaption = "选择采购订单或采购到货单";

// Business types.
inline constexpr std::string_view kOrdinaryPurchase = "普通采购";
inline constexpr std::string_view kConsignment = "受托代销";
// Editions (SysVersion).
inline constexpr std::string_view kIndustrialEdition = "工业";
inline constexpr std::string_view kCommercialEdition = "商业";

// The tab switch: leaving orders, leaving arrival notes.
inline constexpr std::string_view kLeaveOrders = "选择到货单将取消订单的所有选择,是否继续?";
inline constexpr std::string_view kLeaveArrivals = "选择订单将取消到货单的所有选择,是否继续?";

// Line cells.
inline constexpr std::string_view kWarehouseFixed = "已经指定了对应入库单号,不能修改仓库！";
inline constexpr std::string_view kPiecesFirstHead = "必须先修改[件数]为";
inline constexpr std::string_view kPiecesFirstTail = "数然后修改[数量]!";
inline constexpr std::string_view kReturnAboveReceived =
    "本次退货数量/件数不能大于订单的累计入库数量/件数。";
inline constexpr std::string_view kAboveReceiptLimit = "本次入库数量不能大于入库上限范围！";
inline constexpr std::string_view kAboveOpenQuantity = "本次入库数量不能大于未入库数量";
inline constexpr std::string_view kQuantitySignHead = "本次入库数量不能为";
inline constexpr std::string_view kPiecesSignHead = "本次入库件数不能为";
inline constexpr std::string_view kPositive = "正数";
inline constexpr std::string_view kNegative = "负数";
inline constexpr std::string_view kAboveOpenPieces = "本次出库件数不能大于未入库件数";

// OK.
inline constexpr std::string_view kNoArrivalHead = "采购到货单表头为空！请重新生单";
inline constexpr std::string_view kNoOrderHead = "采购订单表头为空！请重新生单";

// Registry values of the edit-after-generating boxes.
inline constexpr std::string_view kOrderFormValue = "orderform";
inline constexpr std::string_view kArrivalFormValue = "arrivalform";

}  // namespace quillon::dialogs::stock_order
