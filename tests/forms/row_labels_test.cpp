// Row labels: a column of the view beside a list's own. They follow their rows through sorting and
// drop with them, and no column count or cell of the list ever shows them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/com_error.h"
#include "forms/controls.h"
#include "forms/row_source.h"

namespace quillon::forms {
namespace {

TEST(RowLabelsTest, AGridsLabelsFollowTheirRowsAndStayOutOfItsColumns) {
  MsSuperGrid grid("grid", 4, 3);
  grid.setTextMatrix(1, 0, "存货编码");
  for (int row = 1; row < 4; ++row) grid.setTextMatrix(1, row, "0" + std::to_string(4 - row));
  grid.setRowLabelColumn("发货单号");
  grid.setRowLabel(1, "FH1");
  grid.setRowLabel(3, "FH3");
  EXPECT_EQ(grid.Cols(), 3);
  EXPECT_EQ(grid.colByCaption("发货单号"), -1);
  EXPECT_EQ(grid.rowLabel(2), "");
  grid.sortRows(1, false);
  EXPECT_EQ(grid.rowOrder().rowAt(1), 3);
  EXPECT_EQ(grid.rowLabel(3), "FH3") << "sorting keeps a row's number, and its label";
  EXPECT_THROW(grid.rowLabel(4), automation::ComError);
  EXPECT_THROW(grid.setRowLabel(-1, "x"), automation::ComError);

  grid.setRowLabelsShown(false);
  EXPECT_FALSE(grid.rowLabelsShown());
  EXPECT_EQ(grid.rowLabel(1), "FH1") << "hidden, still kept";
  grid.setRowLabelsShown(true);

  // Rows dropped take their labels: a row added again starts without one.
  grid.setRows(2);
  grid.setRows(4);
  EXPECT_EQ(grid.rowLabel(1), "FH1");
  EXPECT_EQ(grid.rowLabel(3), "");
  grid.Clear();
  EXPECT_EQ(grid.rowLabel(1), "");
  grid.setRowLabelColumn("");
  EXPECT_FALSE(grid.rowLabelsShown());
}

class Lines : public RowSource {
 public:
  std::vector<std::vector<std::string>> rows;
  int fieldCount() const override { return 1; }
  std::string fieldName(int) const override { return "cInvCode"; }
  int rowCount() const override { return static_cast<int>(rows.size()); }
  std::string text(int r, int f) const override {
    return rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(f)];
  }
};

TEST(RowLabelsTest, AVoucherListDropsItsLabelsWithItsRows) {
  MarlinVouchList list("list");
  list.setColumnDefinitions("cInvCode,存货编码,1000");
  list.setRowLabelColumn("委外订单号");
  EXPECT_THROW(list.setRowLabel(1, "WW1"), automation::ComError) << "no data row yet";
  auto lines = std::make_shared<Lines>();
  lines->rows = {{"0101"}, {"0102"}};
  list.bind(lines);
  list.setRowLabel(2, "WW2");
  EXPECT_EQ(list.Cols(), 2);
  EXPECT_EQ(list.colIndex("委外订单号"), -1);
  EXPECT_EQ(list.rowLabel(2), "WW2");
  list.bind(lines);
  EXPECT_EQ(list.rowLabel(2), "") << "rows bound again start without labels";
  list.setRowLabel(1, "WW1");
  list.Clear();
  EXPECT_THROW(list.rowLabel(1), automation::ComError);
  list.bind(lines);
  EXPECT_EQ(list.rowLabel(1), "");
  EXPECT_EQ(list.rowLabelCaption(), "委外订单号") << "the column itself stays";
}

}  // namespace
}  // namespace quillon::forms
