// The allocation rules and the field layout of the stock selection dialog, without a form.
#include <gtest/gtest.h>

#include <cmath>

#include "dialogs/frmRefSelect/ref_select_queries.h"
#include "dialogs/frmRefSelect/ref_select_rules.h"

namespace quillon::dialogs::ref_select {
namespace {

std::vector<CandidateRow> rowsOf(std::initializer_list<double> stock) {
  std::vector<CandidateRow> rows;
  for (double s : stock) rows.push_back({s, 0});
  return rows;
}

std::vector<double> taken(const Allocation& a) {
  std::vector<double> out;
  for (const Take& t : a.rows) out.push_back(t.qty.value_or(0));
  return out;
}

TEST(RefSelectAllocation, TakesWholeRowsThenTheRest) {
  Allocation a = allocate(rowsOf({4, 4, 4}), {10, 0}, true, {});
  EXPECT_EQ(taken(a), (std::vector<double>{4, 4, 2}));
  EXPECT_EQ(a.left.qty, 0);

  // Without multiple selection only the first row is taken and 6 stay unallocated.
  a = allocate(rowsOf({4, 4, 4}), {10, 0}, false, {});
  EXPECT_EQ(taken(a), (std::vector<double>{4}));
  EXPECT_EQ(a.left.qty, 6);

  // More than the stock holds: every row is taken whole and the shortfall remains.
  a = allocate(rowsOf({4, 4, 4}), {20, 0}, true, {});
  EXPECT_EQ(taken(a), (std::vector<double>{4, 4, 4}));
  EXPECT_EQ(a.left.qty, 8);
}

TEST(RefSelectAllocation, RedVoucherTakesNegativeAmounts) {
  const Allocation a = allocate(rowsOf({3, 3, 3}), {-5, 0}, true, {});
  EXPECT_EQ(taken(a), (std::vector<double>{-3, -2}));
  EXPECT_EQ(a.left.qty, 0);
  EXPECT_FALSE(stillWanted(-5, 0));
  EXPECT_TRUE(stillWanted(-5, -1));
  EXPECT_FALSE(stillWanted(5, -1));  // over-allocated is not a shortfall
}

TEST(RefSelectAllocation, ChoosingOneRow) {
  // Stocktaking takes the whole book quantity, whatever is wanted, and leaves the wish as it was.
  Take t = takeRow({7.5, 0}, {1, 0}, {true, false});
  EXPECT_EQ(t.qty, 7.5);
  EXPECT_EQ(t.left.qty, 1);
  // Nothing wanted: the row takes no quantity.
  t = takeRow({4, 2}, {0, 3}, {false, true});
  EXPECT_FALSE(t.qty);
  EXPECT_EQ(t.num, 2);
  EXPECT_EQ(t.left.num, 1);
  // Pieces are taken only when they are allocated and still wanted; they follow the quantity's
  // sign.
  EXPECT_FALSE(takeRow({4, 2}, {3, 3}, {false, false}).num);
  EXPECT_FALSE(takeRow({4, 2}, {3, 0}, {false, true}).num);
  t = takeRow({4, 2}, {-3, -1}, {false, true});
  EXPECT_EQ(t.qty, -3);
  EXPECT_EQ(t.num, -1);
}

TEST(RefSelectAllocation, PiecesFollowTheirOwnRemainder) {
  const TakeRule pieces{false, true};
  const Allocation a = allocate({{4, 2}, {4, 2}, {4, 2}}, {10, 3}, true, pieces);
  ASSERT_EQ(a.rows.size(), 3u);  // pieces run out after the second row
  EXPECT_EQ(a.rows[0].num, 2);
  EXPECT_EQ(a.rows[1].num, 1);
  EXPECT_FALSE(a.rows[2].num);
  EXPECT_EQ(a.left.num, 0);

  // Either remainder keeps the allocation going while both header amounts are active.
  EXPECT_EQ(allocate({{4, 2}, {4, 2}}, {4, 3}, true, pieces).rows.size(), 2u);
  EXPECT_EQ(allocate({{4, 2}, {4, 2}}, {4, 3}, true, {}).rows.size(), 1u);
}

TEST(RefSelectAllocation, DecimalSumsLeaveNoCrumb) {
  const Allocation a = allocate(rowsOf({0.1, 0.1, 0.1, 0.1}), {0.3, 0}, true, {});
  EXPECT_EQ(a.rows.size(), 3u);
  EXPECT_EQ(a.left.qty, 0);
  EXPECT_EQ(remainingAfter(0.3, 0.1 + 0.1 + 0.1), 0);
  EXPECT_EQ(remainingAfter(5, 7), 0);  // crossed zero
  EXPECT_EQ(remainingAfter(-5, -3), -2);
}

TEST(RefSelectAllocation, ChangedRequestInTheHeader) {
  // Nothing allocated yet: request and remainder both become the new value.
  EXPECT_EQ(changedRequest({10, 10}, 6)->remaining, 6);
  // At least what is allocated (4 of 10): the remainder grows or shrinks by the difference.
  const auto grown = changedRequest({10, 6}, 12);
  ASSERT_TRUE(grown);
  EXPECT_EQ(grown->requested, 12);
  EXPECT_EQ(grown->remaining, 8);
  EXPECT_EQ(changedRequest({10, 6}, 4)->remaining, 0);
  EXPECT_EQ(changedRequest({-10, -6}, -4)->remaining, 0);
  // Less than allocated: the user decides.
  EXPECT_FALSE(changedRequest({10, 6}, 3.5));
}

TEST(RefSelectLayout, NamesAndPlacesByCallerAndReferenceType) {
  EXPECT_EQ(columnNamesFor("18", kRefReturn).thisQty, "盘点数量");
  EXPECT_EQ(columnNamesFor("", kRefReturn).thisNum, "退回件数");
  EXPECT_EQ(columnNamesFor("01", kRefTrace).stock, "结存数量");
  const ColumnOffsets batch = offsetsFor(kRefBatch, "");
  EXPECT_EQ(batch.thisQty, 5);
  EXPECT_EQ(batch.stock, 11);
  EXPECT_EQ(offsetsFor(kRefTrace, "18").stockNum, 14);
  EXPECT_EQ(offsetsFor(kRefReturn, "18").thisQty, 15);
  EXPECT_EQ(offsetsFor(7, "").stock, 11);
}

TEST(RefSelectLayout, SortOfEachRuleAndUnknownTexts) {
  EXPECT_EQ(allocationSort(kRefBatch, "批号先进先出"), "批号");
  EXPECT_EQ(allocationSort(kRefBatch, "近效期先出"), "失效日期");
  EXPECT_EQ(allocationSort(kRefBatch, "手工确定"), "");
  EXPECT_EQ(allocationSort(kRefBatch, "先进先出"), "");  // a tracking rule means nothing here
  EXPECT_EQ(allocationSort(kRefTrace, "先进先出"), "入库日期,入库系统编号");
  EXPECT_EQ(allocationSort(kRefTrace, "后进先出"), "入库日期 Desc ,入库系统编号 Desc");
  EXPECT_EQ(allocationSort(kRefTrace, "随便"), "");
  EXPECT_EQ(allocationSort(kRefReturn, "批号先进先出"), "");
  EXPECT_EQ(sortFields("入库日期 Desc ,入库系统编号 Desc"),
            (std::vector<std::string>{"入库日期", "入库系统编号"}));
}

TEST(RefSelectLayout, ProblemsNameTheField) {
  std::vector<std::string> fields = {"批号", "结存数量", "结存件数", "a", "b", "c",
                                     "d",    "出库数量", "出库件数", "e", "f", "g"};
  // 12 fields: stock at 12-11 = 1, this-time quantity at 12-5 = 7.
  EXPECT_FALSE(layoutProblem(fields, "", kRefBatch, true));
  EXPECT_EQ(layoutProblem(fields, "18", kRefBatch, false), "查询结果缺少字段[账面数量]");
  fields[1] = "数量";
  EXPECT_EQ(layoutProblem(fields, "", kRefBatch, false), "查询结果缺少字段[结存数量]");
  fields[1] = "结存数量";
  std::swap(fields[7], fields[9]);
  EXPECT_EQ(layoutProblem(fields, "", kRefBatch, true),
            "查询结果的字段[出库数量]应为倒数第5个字段");
  EXPECT_FALSE(layoutProblem(fields, "", kRefBatch, false));  // places need rows to matter
  EXPECT_TRUE(layoutProblem({"结存数量"}, "", kRefBatch, true));
}

TEST(RefSelectText, NumbersOfCells) {
  EXPECT_EQ(textNumber("1,234.50"), 1234.5);
  EXPECT_EQ(textNumber(" -2 "), -2);
  EXPECT_FALSE(textNumber(""));
  EXPECT_FALSE(textNumber("  "));
  EXPECT_FALSE(textNumber("abc"));
  EXPECT_FALSE(textNumber("-"));
  EXPECT_EQ(plainNumber(6), "6");
  EXPECT_EQ(plainNumber(2.5), "2.5");
}

}  // namespace
}  // namespace quillon::dialogs::ref_select
