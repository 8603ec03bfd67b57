// Finding rows as a person types: shown cells only, in the order shown, from the current row on.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "forms/controls.h"
#include "forms/list_find.h"
#include "forms/list_scan.h"
#include "forms/sample_form.h"

namespace quillon::forms {
namespace {

class ListFindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.setRows(5);
    grid.setCols(3);
    grid.setTextMatrix(1, 0, "存货编码");
    grid.setTextMatrix(2, 0, "批号");
    const char* codes[] = {"0303001", "0104002", "0303003", "0303004"};
    const char* batches[] = {"SN2610-1", "sn2610-2", "X1", "SN2610-4"};
    for (int r = 1; r <= 4; ++r) {
      grid.setTextMatrix(1, r, codes[r - 1]);
      grid.setTextMatrix(2, r, batches[r - 1]);
    }
  }
  MsSuperGrid grid{"grdLines"};
};

TEST_F(ListFindTest, MatchesFromTheCurrentRowOnWrapAroundAndIgnoreCase) {
  grid.setRow(2);
  EXPECT_EQ(findRow(grid, "SN2610", false), 2);
  EXPECT_EQ(findRow(grid, "SN2610", true), 4);
  grid.setRow(4);
  EXPECT_EQ(findRow(grid, "SN2610", true), 1);
  EXPECT_EQ(countMatches(grid, "sn2610"), 3);
  EXPECT_EQ(findRow(grid, "nowhere", false), std::nullopt);
  EXPECT_EQ(findRow(grid, "", false), std::nullopt);
}

TEST_F(ListFindTest, HiddenRowsAndColumnsNeverMatchAndTheSortedOrderIsFollowed) {
  grid.setRowHeight(2, 0);
  EXPECT_FALSE(rowHolds(grid, 2, "0104"));
  EXPECT_EQ(findRow(grid, "0104", false), std::nullopt);
  grid.setColWidth(2, 0);
  EXPECT_EQ(countMatches(grid, "SN2610"), 0);
  grid.setColWidth(2, 1200);
  grid.setRowHeight(2, MsSuperGrid::kDefaultRowHeight);

  // Sorted descending by code, "0303" is met first at row 4, then 3, then 1.
  grid.sortRows(1, true);
  grid.setRow(4);
  EXPECT_EQ(findRow(grid, "0303", true), 3);
  grid.setRow(3);
  EXPECT_EQ(findRow(grid, "0303", true), 1);

  ASSERT_TRUE(locateRow(grid, 2));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_FALSE(grid.isMarked(2)) << "locating a row is no click";
}

TEST(ListFindKindsTest, VoucherListsAndListViewsSearchTheirShownColumns) {
  MarlinVouchList vouch("vlLines");
  vouch.setColumnDefinitions("cCode,单据号,1000;cMemo,备注,0");
  vouch.bind(std::make_shared<testing::TableSource>(
      std::vector<std::string>{"cCode", "cMemo"},
      std::vector<std::vector<std::string>>{{"V1", "hidden"}, {"V2", "x"}}));
  ListView list("lstHead");
  list.addColumn("单据号");
  list.addColumn("内部", 0);
  list.addItem("A1").setSubItem(1, "secret");
  list.addItem("B2");
  EXPECT_EQ(findRow(list, "b2", false), 2);
  EXPECT_EQ(findRow(list, "secret", false), std::nullopt);
  ASSERT_TRUE(locateRow(list, 2));
  EXPECT_EQ(list.SelectedItem(), &list.item(2));
  EXPECT_EQ(findRow(vouch, "v2", false), 2);
  EXPECT_EQ(findRow(vouch, "hidden", false), std::nullopt);
  ASSERT_TRUE(locateRow(vouch, 2));
  EXPECT_EQ(vouch.Row(), 2);
  TextBox box("txtCode");
  EXPECT_FALSE(rowHolds(box, 1, "x"));
  EXPECT_EQ(findRow(box, "x", false), std::nullopt);
}

// What a scan field takes: a code alone counts one, CODE*COUNT counts COUNT; a text that is no
// count keeps its star in the code; nothing is taken from an empty code or a count of 0 or less.
TEST(ScanTextTest, CodeAndCount) {
  struct Case {
    const char* text;
    std::optional<std::pair<std::string, double>> entry;
  };
  const Case cases[] = {
      {"0101001", std::pair<std::string, double>{"0101001", 1}},
      {" 0101001 * 5 \r\n", std::pair<std::string, double>{"0101001", 5}},
      {"SN2610-1*2.5", std::pair<std::string, double>{"SN2610-1", 2.5}},
      {"A*B", std::pair<std::string, double>{"A*B", 1}},
      {"A*B*3", std::pair<std::string, double>{"A*B", 3}},
      {"A*", std::pair<std::string, double>{"A*", 1}},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"*3", std::nullopt},
      {"A*0", std::nullopt},
      {"A*-2", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto entry = parseScan(c.text);
    ASSERT_EQ(entry.has_value(), c.entry.has_value()) << c.text;
    if (!entry) continue;
    EXPECT_EQ(entry->code, c.entry->first) << c.text;
    EXPECT_DOUBLE_EQ(entry->count, c.entry->second) << c.text;
  }
}

}  // namespace
}  // namespace quillon::forms
