#include <gtest/gtest.h>

#include <string>

#include "dialogs/frmStockOrder/stock_order_messages.h"
#include "dialogs/frmStockOrder/stock_order_queries.h"
#include "dialogs/frmStockOrder/stock_order_rules.h"

namespace quillon::dialogs::stock_order {
namespace {

constexpr const char* kTwoPlaces = "##0.00";

TEST(StockOrderRules, EditionAndBusinessTypeDecideTheConsignmentBox) {
  EXPECT_FALSE(consignmentBoxEnabled("工业"));
  EXPECT_TRUE(consignmentBoxEnabled("商业"));
  EXPECT_EQ(businessTypes(false), (std::vector<std::string>{"", "普通采购"}));
  EXPECT_EQ(businessTypes(true), (std::vector<std::string>{"", "普通采购", "受托代销"}));

  const auto grey = consignmentBoxAfter("受托代销", true);
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey->value, 2);
  EXPECT_FALSE(grey->enabled);
  const auto plain = consignmentBoxAfter("普通采购", true);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->value, 0);
  EXPECT_TRUE(plain->enabled);
  EXPECT_FALSE(consignmentBoxAfter("", false));

  EXPECT_TRUE(consignmentOnly(true, 1));
  EXPECT_TRUE(consignmentOnly(true, 2));
  EXPECT_FALSE(consignmentOnly(true, 0));
  EXPECT_FALSE(consignmentOnly(false, 1));
}

TEST(StockOrderRules, TabSwitchAsksOnlyWhenThePersonSwitches) {
  EXPECT_FALSE(tabSwitchQuestion(kArrivalTab, false, true)) << "the first display asks nothing";
  EXPECT_FALSE(tabSwitchQuestion(kOrderTab, true, false)) << "turning the tab back asks nothing";
  EXPECT_EQ(tabSwitchQuestion(kOrderTab, false, false), kLeaveOrders);
  EXPECT_EQ(tabSwitchQuestion(kArrivalTab, false, false), kLeaveArrivals);
}

TEST(StockOrderRules, OrderLinesReturnsWithinWhatWasReceivedAndReceiptsWithinTheLimit) {
  OrderLineFigures line;
  line.received = 6;
  line.receivedPieces = 1;
  line.orderQuantity = 10;
  line.openQuantity = 4;
  // Without over-receipt: up to the open quantity, after rounding.
  EXPECT_FALSE(orderLineEdit(false, 4.004, line, false, kTwoPlaces));
  EXPECT_EQ(orderLineEdit(false, 4.01, line, false, kTwoPlaces), kAboveOpenQuantity);
  // Returns: at most what was received, quantity and pieces apart.
  EXPECT_FALSE(orderLineEdit(false, -6, line, false, kTwoPlaces));
  EXPECT_EQ(orderLineEdit(false, -6.5, line, false, kTwoPlaces), kReturnAboveReceived);
  EXPECT_EQ(orderLineEdit(true, -2, line, false, kTwoPlaces), kReturnAboveReceived);
  EXPECT_FALSE(orderLineEdit(true, 99, line, false, kTwoPlaces)) << "pieces have no upper rule";

  // Over-receipt with Q 100, R 0, E 0.1: 110 is the limit.
  OrderLineFigures big;
  big.orderQuantity = 100;
  big.excess = 0.1;
  EXPECT_FALSE(orderLineEdit(false, 110, big, true, kTwoPlaces));
  EXPECT_EQ(orderLineEdit(false, 111, big, true, kTwoPlaces), kAboveReceiptLimit);
  big.received = 50;
  EXPECT_FALSE(orderLineEdit(false, 60, big, true, kTwoPlaces));
  EXPECT_EQ(orderLineEdit(false, 60.5, big, true, kTwoPlaces), kAboveReceiptLimit);

  // Floating units: change the pieces' sign before the quantity's.
  EXPECT_EQ(piecesSignFirst(2, -3, 1), "必须先修改[件数]为负数然后修改[数量]!");
  EXPECT_EQ(piecesSignFirst(2, 3, -1), "必须先修改[件数]为正数然后修改[数量]!");
  EXPECT_FALSE(piecesSignFirst(1, -3, 1));
  EXPECT_FALSE(piecesSignFirst(2, 3, 0));
}

TEST(StockOrderRules, ArrivalLinesKeepTheirSignAndStayWithinWhatIsOpen) {
  // A red line open by -4 takes -3, refuses 2 for its sign and -5 for its size.
  EXPECT_FALSE(arrivalLineEdit(false, -3, -4, -4, kTwoPlaces));
  EXPECT_EQ(arrivalLineEdit(false, 2, -4, -4, kTwoPlaces), "本次入库数量不能为正数");
  EXPECT_EQ(arrivalLineEdit(false, -5, -4, -4, kTwoPlaces), kAboveOpenQuantity);
  EXPECT_EQ(arrivalLineEdit(false, -1, 3, 3, kTwoPlaces), "本次入库数量不能为负数");
  EXPECT_EQ(arrivalLineEdit(true, -1, 3, 3, kTwoPlaces), "本次入库件数不能为负数");
  // Pieces compare after rounding with the pieces pattern.
  EXPECT_FALSE(arrivalLineEdit(true, 3.4, 3, 3, "##0."));
  EXPECT_EQ(arrivalLineEdit(true, 3.5, 3, 3, "##0."), kAboveOpenPieces);
}

TEST(StockOrderRules, WhatOkReturns) {
  EXPECT_EQ(emptyHeadMessage(kArrivalTab), "采购到货单表头为空！请重新生单");
  EXPECT_EQ(emptyHeadMessage(kOrderTab), "采购订单表头为空！请重新生单");
  EXPECT_EQ(headBusinessType("", 0), "普通采购");
  EXPECT_EQ(headBusinessType("", 2), "受托代销");
  EXPECT_EQ(headBusinessType("受托代销", 0), "受托代销");
  EXPECT_TRUE(takenWhole(120, 120.001, kTwoPlaces));
  EXPECT_FALSE(takenWhole(120, 100, kTwoPlaces));
}

}  // namespace
}  // namespace quillon::dialogs::stock_order
