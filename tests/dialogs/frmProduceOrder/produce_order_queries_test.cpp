#include <gtest/gtest.h>

#include "dialogs/frmProduceOrder/produce_order_queries.h"
#include "dialogs/frmProduceOrder/produce_order_rules.h"

namespace quillon::dialogs::produce_order {
namespace {

TEST(ProduceOrderQueries, DepartmentAndInventoryConditions) {
  EXPECT_EQ(withDepartmentCondition("", ""),
            "( (cDepCode IN ( Select cDepCode From Department DD where DD.cDepCode = cDepCode "
            "and DD.bDepEnd = 1) ) OR ISNULL(cDepCode, '') = '' ) ");
  EXPECT_EQ(withDepartmentCondition("cCode = 'MO1'", "'0201','0202'"),
            "cCode = 'MO1' AND ( (cDepCode IN('0201','0202')  AND cDepCode IN ( Select cDepCode "
            "From Department DD where DD.cDepCode = cDepCode and DD.bDepEnd = 1)) OR "
            "ISNULL(cDepCode, '') = '' ) ");
  EXPECT_EQ(inventoryCondition(""), "");
  EXPECT_EQ(inventoryCondition("3,7"),
            "cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = cInvCode and "
            "II.iid IN(3,7))");
}

TEST(ProduceOrderQueries, FilterConditionsInTheirOrder) {
  FilterFields f;
  EXPECT_EQ(filterConditions(f, 0).head, "");
  // Type 71 always narrows to outsourced processing, even with every field empty.
  EXPECT_EQ(filterConditions(f, 71).head, " iProperty =2 ");

  f.lowerDate = "2026-12-31";
  f.upperDate = "2026-11-01";  // reversed: the bounds are swapped
  f.department = "0201";
  f.person = "002";
  f.orderCode = "MO'1";
  f.vendor = "V001";
  EXPECT_EQ(filterConditions(f, 71).head,
            "dDate >= N'2026-11-01' AND dDate <= N'2026-12-31' and cDepCode = N'0201' and "
            "cPersonCode = N'002' and cCode = N'MO''1' and cVenCode = N'V001' and iProperty =2 ");

  FilterFields first;
  first.person = "002";
  EXPECT_EQ(filterConditions(first, 0).head, " cPersonCode = N'002'");

  // An item turns the filter into a line filter and empties the head condition.
  f.item = "0301001";
  FilterConditions c = filterConditions(f, 0);
  EXPECT_EQ(c.head, "");
  EXPECT_EQ(c.line, " cInvCode = '0301001'");
  EXPECT_EQ(filterConditions(f, 71).head, " iProperty =2 ");
}

TEST(ProduceOrderQueries, HeadConditionsAndProjectNarrowing) {
  EXPECT_EQ(joinHeadConditions("", "F"), "F");
  EXPECT_EQ(joinHeadConditions("C", ""), "C");
  EXPECT_EQ(joinHeadConditions("C", "F"), "C and F");
  EXPECT_EQ(projectNarrowing("XM'2", ""),
            " and ISNULL(citemcode,'')=N'XM''2' and citem_class =N''");
}

TEST(ProduceOrderRules, VariantsChkAllAndCaptions) {
  EXPECT_EQ(queryVariant(true, 39), QueryVariant::OI);
  EXPECT_EQ(queryVariant(false, 39), QueryVariant::Type39);
  EXPECT_EQ(queryVariant(false, 71), QueryVariant::Plain);
  const AllLinesStart normal = allLinesStart(12);
  EXPECT_TRUE(normal.enabled && normal.checked);
  EXPECT_FALSE(normal.allLinesFlag);
  const AllLinesStart receipt = allLinesStart(39);
  EXPECT_FALSE(receipt.enabled || receipt.checked);
  EXPECT_TRUE(receipt.allLinesFlag);
  EXPECT_EQ(captionAfterTabSwitch(0), "选择生产订单和生产的存货");
  EXPECT_EQ(captionAfterTabSwitch(1), "选择生产计划和投产的存货");
}

}  // namespace
}  // namespace quillon::dialogs::produce_order
