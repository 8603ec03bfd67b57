#include <gtest/gtest.h>

#include <string>

#include "dialogs/frmStockOrder/stock_order_queries.h"

namespace quillon::dialogs::stock_order {
namespace {

constexpr const char* kClerkDepartments = "'0201','0202','0401'";

TEST(StockOrderQueries, HeadFilterFragmentsInTheirOrderOnEitherTab) {
  // Nothing typed and no restriction: no condition at all.
  EXPECT_EQ(headFilter(kOrderTab, {}, ""), "");
  EXPECT_EQ(headFilter(kArrivalTab, {}, ""), "");

  // A department restriction alone: its clause without a leading " AND ".
  EXPECT_EQ(headFilter(kOrderTab, {}, kClerkDepartments),
            "(cDepCode in ('0201','0202','0401') OR ISNULL(cDepCode, '') = '')");

  // Every box, in the filter's order, each fragment after " and".
  FilterBoxes all;
  all.lowerDate = "2026-11-01";
  all.upperDate = "2026-11-30";
  all.department = "机加车间";
  all.person = "王芳";
  all.arrivalCode = "DH26120008";
  all.orderCode = "PO26110009";
  all.vendor = "鑫源五金01";
  EXPECT_EQ(headFilter(kArrivalTab, all, ""),
            "pu_ArrHead.ddate >= N'2026-11-01' AND    pu_ArrHead.ddate <= N'2026-11-30' and "
            "pu_ArrHead.cdepname = N'机加车间' and pu_ArrHead.cpersonname = N'王芳' and "
            "pu_ArrHead.cCode = N'DH26120008' and pu_ArrHead.cPOId = N'PO26110009' and "
            "pu_ArrHead.cVenAbbName = N'鑫源五金01'");
  FilterBoxes vendorOnly;
  vendorOnly.vendor = "鑫源五金01";
  EXPECT_EQ(headFilter(kOrderTab, vendorOnly, ""), " zpurpoheader.cVenAbbName = N'鑫源五金01'");

  // Reversed dates are swapped, never an empty range; a bound that is no date is no bound.
  FilterBoxes reversed;
  reversed.lowerDate = "2026-11-30";
  reversed.upperDate = "2026-11-01";
  EXPECT_EQ(headFilter(kOrderTab, reversed, ""),
            "zpurpoheader.dpodate >= N'2026-11-01' AND zpurpoheader.dpodate <= N'2026-11-30'");
  reversed.upperDate = "2026-13-01' or 1=1 --";
  EXPECT_EQ(headFilter(kOrderTab, reversed, ""), "zpurpoheader.dpodate >= N'2026-11-30'");

  // A quote that got into a box stays inside its literal.
  FilterBoxes quoted;
  quoted.person = "O'Neil";
  EXPECT_EQ(headFilter(kOrderTab, quoted, ""), " zpurpoheader.cpersonname = N'O''Neil'");
}

TEST(StockOrderQueries, BusinessTypeBranchesRepeatTheEarlierConditions) {
  FilterBoxes ordinary;
  ordinary.busType = "普通采购";
  EXPECT_EQ(headFilter(kOrderTab, ordinary, ""),
            "(( zpurpoheader.cBusType = N'普通采购') Or ( zpurpoheader.cBusType = ''))");

  FilterBoxes deptAndType;
  deptAndType.department = "D";
  deptAndType.busType = "B";
  EXPECT_EQ(headFilter(kArrivalTab, deptAndType, ""),
            "(( pu_ArrHead.cdepname = N'D' and pu_ArrHead.cBusType = N'B') Or ( "
            "pu_ArrHead.cdepname = N'D' and pu_ArrHead.cBusType = ''))");
  EXPECT_EQ(headFilter(kArrivalTab, deptAndType, kClerkDepartments),
            "(( pu_ArrHead.cdepname = N'D' and pu_ArrHead.cBusType = N'B') Or ( "
            "pu_ArrHead.cdepname = N'D' and pu_ArrHead.cBusType = '')) AND (cDepCode in "
            "('0201','0202','0401') OR ISNULL(cDepCode, '') = '')");
}

TEST(StockOrderQueries, TabFilterTextsAndPermissionClauses) {
  EXPECT_EQ(departmentClause(""), "");
  EXPECT_EQ(warehouseClause("'01','02'"), "(cWhCode in ('01','02') OR ISNULL(cWhCode,'') = '')");
  EXPECT_EQ(tabFilterText(kOrderTab, kClerkDepartments, "'01'"),
            "(cDepCode in ('0201','0202','0401') OR ISNULL(cDepCode, '') = '')");
  EXPECT_EQ(tabFilterText(kArrivalTab, "'0201'", "'01'"),
            "(cDepCode in ('0201') OR ISNULL(cDepCode, '') = '') AND (cWhCode in ('01') OR "
            "ISNULL(cWhCode,'') = '')");
  EXPECT_EQ(tabFilterText(kArrivalTab, "", "'01'"),
            "(cWhCode in ('01') OR ISNULL(cWhCode,'') = '')");
  EXPECT_EQ(tabFilterText(kArrivalTab, "", ""), "");
}

TEST(StockOrderQueries, LineConditionsOfOrdersAndArrivalNotes) {
  EXPECT_EQ(orderLineCondition("", "", "", false), "");
  EXPECT_EQ(orderLineCondition("1,2", "", "", false), "Inventory.iId IN(1,2)");
  EXPECT_EQ(orderLineCondition("1,2", "2026-12-01", "", true),
            "Inventory.bInvEntrust=1 and Inventory.iId IN(1,2) and dArriveDate >= N'2026-12-01'");
  EXPECT_EQ(orderLineCondition("", "", "2026-12-31", false), "dArriveDate <= N'2026-12-31'");
  EXPECT_EQ(orderLineCondition("", "", "", true), "Inventory.bInvEntrust=1");

  // All marked heads: permissions, the warehouse name, consignment in the commercial edition.
  EXPECT_EQ(arrivalLineCondition("3", "'01'", "原料仓", true, true, false),
            "Inventory.bInvEntrust=1 and Inventory.iId IN(3) AND (PU_ArrivalVouchs.cWhCode in "
            "('01') OR ISNULL(PU_ArrivalVouchs.cWhCode,'') = '') and  cWhName = N'原料仓'");
  EXPECT_EQ(arrivalLineCondition("", "", "原料仓", false, true, false), " cWhName = N'原料仓'");
  EXPECT_EQ(arrivalLineCondition("", "'01'", "", false, false, false),
            "(PU_ArrivalVouchs.cWhCode in ('01') OR ISNULL(PU_ArrivalVouchs.cWhCode,'') = '')");
  // A head marked by a click: permissions only, with the blank before the parenthesis.
  EXPECT_EQ(arrivalLineCondition("3", "'01'", "原料仓", true, true, true),
            "Inventory.iId IN (3) AND (PU_ArrivalVouchs.cWhCode in ('01') OR "
            "ISNULL(PU_ArrivalVouchs.cWhCode,'') = '')");
}

}  // namespace
}  // namespace quillon::dialogs::stock_order
