#include <gtest/gtest.h>

#include <string>

#include "dialogs/frmCons/cons_queries.h"

namespace quillon::dialogs::cons {
namespace {

TEST(ConsQueries, HeadFilterSeparatorsAsTheFilterJoinsThem) {
  // Nothing typed, no restriction: the service's own conditions alone.
  EXPECT_EQ(headFilter({}, ""), "");

  // Only the note's code: its fragment with its leading blank and no " and".
  FilterBoxes code;
  code.deliveryCode = "FH26120009";
  EXPECT_EQ(headFilter(code, ""), " DispatchList.cDLCode = N'FH26120009'");

  // Department then person: " and" straight after the closing quote, the next fragment bringing
  // its own blank.
  FilterBoxes deptPerson;
  deptPerson.department = "销售一部";
  deptPerson.person = "赵磊";
  EXPECT_EQ(headFilter(deptPerson, ""),
            " Department.cDepName = N'销售一部' and Person.cPersonName = N'赵磊'");

  // The invoice code after another condition: " and " then " DispatchList.cSBVCode =", two
  // blanks before the column; alone, no separator at all.
  FilterBoxes invoice;
  invoice.busType = "普通销售";
  invoice.invoiceCode = "PT26120001";
  EXPECT_EQ(headFilter(invoice, ""),
            " DispatchList.cBusType = N'普通销售' and  DispatchList.cSBVCode =N'PT26120001'");
  invoice.busType.clear();
  EXPECT_EQ(headFilter(invoice, ""), " DispatchList.cSBVCode =N'PT26120001'");

  // Every box in the filter's order: dates, warehouse, department, person, code, customer,
  // voucher type, business type, invoice.
  FilterBoxes all;
  all.lowerDate = "2026-11-01";
  all.upperDate = "2026-12-05";
  all.warehouseCode = "06";
  all.department = "销售一部";
  all.person = "赵磊";
  all.deliveryCode = "FH26120009";
  all.customer = "宏达钢材01";
  all.vouchType = "发货单";
  all.busType = "普通销售";
  all.invoiceCode = "X1";
  EXPECT_EQ(headFilter(all, ""),
            "DispatchList.dDate >= N'2026-11-01' AND    DispatchList.dDate <= N'2026-12-05' and "
            "DispatchLists.cwhcode = N'06' and Department.cDepName = N'销售一部' and "
            "Person.cPersonName = N'赵磊' and DispatchList.cDLCode = N'FH26120009' and "
            "Customer.cCusAbbName = N'宏达钢材01' and VouchType.cVouchName = N'发货单' and "
            "DispatchList.cBusType = N'普通销售' and  DispatchList.cSBVCode =N'X1'");
}

TEST(ConsQueries, TheDepartmentRightsLimitEveryFilterAndQuotesStayValues) {
  const std::string rights = departmentCondition("'0201','0401'");
  EXPECT_EQ(rights, "(DispatchList.cDepCode IN('0201','0401') OR ISNULL(DispatchList.cDepCode,'') = '')");
  EXPECT_EQ(departmentCondition(""), "");
  EXPECT_EQ(loadFilterText("", rights), rights);
  EXPECT_EQ(loadFilterText("cCode = N'X'", rights), "cCode = N'X' AND " + rights);
  EXPECT_EQ(loadFilterText("cCode = N'X'", ""), "cCode = N'X'");

  EXPECT_EQ(headFilter({}, rights), rights);
  FilterBoxes code;
  code.deliveryCode = "FH26120009";
  EXPECT_EQ(headFilter(code, rights), " DispatchList.cDLCode = N'FH26120009' AND " + rights);

  // A quote, or a whole statement, stays inside its literal; a bound that is no date is none.
  FilterBoxes hostile;
  hostile.customer = "x' OR 1=1 --";
  hostile.upperDate = "2026-12-05' or '1'='1";
  EXPECT_EQ(headFilter(hostile, ""), " Customer.cCusAbbName = N'x'' OR 1=1 --'");
}

TEST(ConsQueries, LineConditionsJoinedBehindEachNote) {
  EXPECT_EQ(lineConditions("", "", ""), "");
  EXPECT_EQ(noteLineFilter(9, ""), "DispatchLists.DLID=9");
  const std::string all = lineConditions("06", "'01','02','06'", "3,7");
  EXPECT_EQ(all,
            "DispatchLists.cWhCode IN (N'06') AND DispatchLists.cWhCode IN ('01','02','06') AND "
            "DispatchLists.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = "
            "DispatchLists.cInvCode and II.iid IN(3,7))");
  EXPECT_EQ(noteLineFilter(12, all), "DispatchLists.DLID=12 AND " + all);
  EXPECT_EQ(lineConditions("", "", "3"),
            "DispatchLists.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = "
            "DispatchLists.cInvCode and II.iid IN(3))");
  EXPECT_EQ(lineConditions("0'6", "", ""), "DispatchLists.cWhCode IN (N'0''6')");
}

}  // namespace
}  // namespace quillon::dialogs::cons
