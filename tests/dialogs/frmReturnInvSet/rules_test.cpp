// The picker's row numbers, order caption, border and the texts of its statements.
#include <gtest/gtest.h>

#include "dialogs/frmReturnInvSet/return_inv_set_queries.h"
#include "dialogs/frmReturnInvSet/return_inv_set_rules.h"

namespace quillon::dialogs::return_inv_set {
namespace {

TEST(ReturnInvSetRules, RowNumbersFromOneToTheLast) {
  EXPECT_EQ(rowToLocate("1", 5), 1);
  EXPECT_EQ(rowToLocate(" 5 ", 5), 5);
  EXPECT_EQ(rowToLocate("+3", 5), 3);
  for (const char* bad : {"0", "6", "-1", "abc", "", "  ", "1.5", "2a", "99999999999999999999"}) {
    EXPECT_EQ(rowToLocate(bad, 5), std::nullopt) << bad;
  }
  EXPECT_EQ(rowToLocate("1", 0), std::nullopt) << "an empty list has no row";
}

TEST(ReturnInvSetRules, OrderCaptionSwapsBothWays) {
  EXPECT_FALSE(listDescending("降序(&D)"));
  EXPECT_EQ(swapOrder("降序(&D)"), "升序(&D)");
  EXPECT_TRUE(listDescending(swapOrder("降序(&D)")));
  EXPECT_EQ(swapOrder(swapOrder("按编码降序")), "按编码降序");
  EXPECT_EQ(swapOrder("升降"), "降升");

  EXPECT_EQ(clampBorder(100, 10200), kMinPane);
  EXPECT_EQ(clampBorder(4000, 10200), 4000);
  EXPECT_EQ(clampBorder(10000, 10200), 10200 - kMinPane);
  EXPECT_EQ(clampBorder(5000, 1000), kMinPane) << "a narrow form keeps the tree";
}

TEST(ReturnInvSetQueries, ConditionsAndTheTemporaryTable) {
  EXPECT_EQ(listCondition("0101", ""), "cInvCCode like N'0101%'");
  EXPECT_EQ(listCondition("0101", "a = 1 or b = 2"),
            "cInvCCode like N'0101%' and (a = 1 or b = 2)");
  EXPECT_EQ(checkCondition("0101", "a = 1"), "cInvCCode like N'0101%' AND (a = 1)");
  EXPECT_EQ(checkCondition("", "a = 1"), "a = 1") << "the root";
  EXPECT_EQ(listCondition("", "  "), "");
  EXPECT_EQ(listCondition("O'1", ""), "cInvCCode like N'O''1%'");
  EXPECT_EQ(classCodeOfKey("c060101", false), "060101");
  EXPECT_EQ(classCodeOfKey("mRoot", true), "");

  const std::string name = tempTableName("001.2026.x");
  EXPECT_EQ(name, "tempdb..tmp001_2026_xtmp");
  EXPECT_EQ(tempTableBatch(name, {"A1", "B'2"}),
            "if exists (select * from tempdb..sysobjects where id=object_id(N'"
            "tempdb..tmp001_2026_xtmp')) drop table tempdb..tmp001_2026_xtmp create table "
            "tempdb..tmp001_2026_xtmp(id nvarchar(255)) insert into tempdb..tmp001_2026_xtmp(id) "
            "values(N'A1')  insert into tempdb..tmp001_2026_xtmp(id) values(N'B''2') ");
  EXPECT_EQ(chosenCondition(name, "升序(&D)"),
            " cInvCode in (select id from tempdb..tmp001_2026_xtmp) order by cInvCode  desc ");
  EXPECT_EQ(chosenCondition(name, "降序(&D)"),
            " cInvCode in (select id from tempdb..tmp001_2026_xtmp) order by cInvCode  ");

  // Whatever the account is called, its part of the name is one plain name.
  EXPECT_EQ(tempTableName("acct-01.2026"), "tempdb..tmpacct_01_2026tmp");
  EXPECT_EQ(tempTableName("my acct.2026"), "tempdb..tmpmyx20acct_2026tmp");
  EXPECT_EQ(tempTableName("x')) or 1=1 delete from CurrentStock --.2026"),
            "tempdb..tmpxx27x29x29x20orx201x3D1x20deletex20fromx20CurrentStockx20___2026tmp");
}

}  // namespace
}  // namespace quillon::dialogs::return_inv_set
