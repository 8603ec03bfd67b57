// Sorting a list by a column: the rows are shown in another order while every row keeps its
// number, its cells and its mark, so what a form keeps per row and the rows it collects stay right.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/com_error.h"
#include "forms/controls.h"
#include "forms/list_export.h"
#include "forms/row_order.h"
#include "forms/row_source.h"

namespace quillon::forms {
namespace {

// The data rows in the order the list shows them.
template <class List>
std::vector<int> shownOrder(const List& list, int count) {
  std::vector<int> rows;
  for (int p = 1; p <= count; ++p) rows.push_back(list.rowOrder().rowAt(p));
  return rows;
}

TEST(RowOrderTest, NumbersReadWithSeparatorsAndSignsOtherTextsDoNot) {
  EXPECT_EQ(sortNumber("1,851.00"), 1851.0);
  EXPECT_EQ(sortNumber(" -3 "), -3.0);
  EXPECT_EQ(sortNumber("0.5"), 0.5);
  EXPECT_FALSE(sortNumber("2026-01-05"));
  EXPECT_FALSE(sortNumber("SN2610-"));
  EXPECT_FALSE(sortNumber(","));
  EXPECT_FALSE(sortNumber("-"));
  EXPECT_FALSE(sortNumber("1.2.3"));
  EXPECT_FALSE(sortNumber(""));
}

class GridSortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.setRows(6);
    grid.setCols(3);
    grid.setTextMatrix(1, 0, "存货编码");
    grid.setTextMatrix(2, 0, "数量");
    const char* codes[] = {"B02", "A01", "B02", "C03", "A10"};
    const char* qty[] = {"10.00", "9.50", "", "1,200.00", "abc"};
    for (int r = 1; r <= 5; ++r) {
      grid.setTextMatrix(1, r, codes[r - 1]);
      grid.setTextMatrix(2, r, qty[r - 1]);
    }
    grid.setMarked(4, true);
  }
  MsSuperGrid grid{"grdLines"};
};

TEST_F(GridSortTest, NumbersByValueAfterEmptiesAndBeforeTextsRowsKeepTheirData) {
  grid.sortRows(2, false);
  EXPECT_EQ(shownOrder(grid, 5), (std::vector<int>{3, 2, 1, 4, 5}));
  EXPECT_EQ(grid.rowOrder().positionOf(4), 4);
  // Nothing moved inside the grid: each row still holds its own cells and mark.
  EXPECT_EQ(grid.TextMatrix(1, 4), "C03");
  EXPECT_TRUE(grid.isMarked(4));
  EXPECT_FALSE(grid.isMarked(1));
  grid.sortRows(2, true);
  EXPECT_EQ(shownOrder(grid, 5), (std::vector<int>{5, 4, 1, 2, 3}));
}

TEST_F(GridSortTest, EqualTextsKeepTheirOrderBothWays) {
  grid.sortRows(1, false);
  EXPECT_EQ(shownOrder(grid, 5), (std::vector<int>{2, 5, 1, 3, 4}));
  grid.sortRows(1, true);
  EXPECT_EQ(shownOrder(grid, 5), (std::vector<int>{4, 1, 3, 5, 2}));
}

TEST_F(GridSortTest, AHeaderClickSortsThenTurnsItAroundAndExportFollowsTheShownOrder) {
  std::vector<std::string> announced;
  grid.propertyChanged.connect(
      [&](Control&, std::string_view property) { announced.emplace_back(property); });
  ASSERT_TRUE(grid.userSortColumn(1));
  EXPECT_FALSE(grid.rowOrder().descending());
  EXPECT_EQ(announced.back(), "Order");
  ASSERT_TRUE(grid.userSortColumn(1));
  EXPECT_TRUE(grid.rowOrder().descending());
  ASSERT_TRUE(grid.userSortColumn(1));
  EXPECT_FALSE(grid.rowOrder().descending());
  ASSERT_TRUE(grid.userSortColumn(2));
  EXPECT_FALSE(grid.rowOrder().descending());
  EXPECT_EQ(grid.rowOrder().column(), 2);
  EXPECT_FALSE(grid.userSortColumn(0)) << "the mark column sorts nothing";

  grid.setRowHeight(1, 0);
  const ListTable table = *listTable(grid, ListRows::All);
  ASSERT_EQ(table.rows.size(), 4u);
  EXPECT_EQ(table.rows[0], (std::vector<std::string>{"B02", ""}));
  EXPECT_EQ(table.rows[1], (std::vector<std::string>{"A01", "9.50"}));
  EXPECT_EQ(table.rows[2], (std::vector<std::string>{"C03", "1,200.00"}));
  EXPECT_EQ(listTable(grid, ListRows::Chosen)->rows.size(), 1u);
}

TEST_F(GridSortTest, ANewRowCountOrAClearedGridShowsItsOwnOrderAgain) {
  grid.sortRows(1, true);
  grid.setRows(7);
  EXPECT_FALSE(grid.rowOrder().sorted());
  EXPECT_EQ(shownOrder(grid, 6), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  grid.sortRows(1, true);
  grid.Clear();
  EXPECT_FALSE(grid.rowOrder().sorted());
  EXPECT_THROW(grid.sortRows(3, false), automation::ComError);
}

class SortedSource : public RowSource {
 public:
  std::vector<std::string> fields;
  std::vector<std::vector<std::string>> rows;
  int fieldCount() const override { return static_cast<int>(fields.size()); }
  std::string fieldName(int f) const override { return fields[static_cast<std::size_t>(f)]; }
  int rowCount() const override { return static_cast<int>(rows.size()); }
  std::string text(int r, int f) const override {
    return rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(f)];
  }
};

TEST(ListSortTest, VoucherListsAndListViewsSortByCaptionAndForgetItWhenRefilled) {
  MarlinVouchList vouch("vlLines");
  vouch.setColumnDefinitions("cCode,单据号,1000;dDate,日期,1000");
  auto rows = std::make_shared<SortedSource>();
  rows->fields = {"cCode", "dDate"};
  rows->rows = {{"0003", "2026-02-01"}, {"0001", "2026-01-15"}, {"0002", "2025-12-31"}};
  vouch.bind(rows);
  vouch.setMarked(1, true);
  EXPECT_EQ(sortList(vouch, "日期", false), std::nullopt);
  EXPECT_EQ(shownOrder(vouch, 3), (std::vector<int>{3, 2, 1}));
  EXPECT_TRUE(vouch.Marked(1));
  EXPECT_EQ(vouch.TextMatrix(1, 1), "0003");
  EXPECT_EQ(*sortList(vouch, "金额", false), "vlLines has no column captioned \"金额\"");
  vouch.bind(rows);
  EXPECT_FALSE(vouch.rowOrder().sorted());

  ListView list("lstHead");
  list.setCheckboxes(true);
  list.addColumn("单据号");
  list.addColumn("金额");
  list.addItem("A1").setSubItem(1, "30");
  list.addItem("A2").setSubItem(1, "4");
  list.addItem("A3").setSubItem(1, "100");
  list.item(3).setChecked(true);
  EXPECT_EQ(sortList(list, "金额", true), std::nullopt);
  EXPECT_EQ(shownOrder(list, 3), (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(list.rowOrder().column(), 2);
  EXPECT_EQ(listTable(list, ListRows::All)->rows[0], (std::vector<std::string>{"A3", "100"}));
  EXPECT_TRUE(list.item(3).Checked());
  ASSERT_TRUE(list.userSortColumn(1));
  EXPECT_EQ(shownOrder(list, 3), (std::vector<int>{1, 2, 3}));
  list.addItem("A0");
  EXPECT_FALSE(list.rowOrder().sorted());

  TextBox box("txtCode");
  EXPECT_EQ(*sortList(box, "x", false), "txtCode is not a list");
}

}  // namespace
}  // namespace quillon::forms
