#include <gtest/gtest.h>

#include <memory>

#include "ado/recordset.h"
#include "components/purchase_ref_service.h"
#include "forms/super_grid.h"
#include "module/fill_grid.h"
#include "module/grid_records.h"
#include "module/module_state.h"
#include "module_fixture.h"

namespace quillon::module {
namespace {

using automation::Variant;

TEST(GridRecords, ChosenRowsBecomeRecordsWithThisTimesQuantities) {
  testing::openSessionAs("demo");
  std::shared_ptr<ado::Recordset> lines;
  components::purchaseRefService()->getOrderLines(*gContext, 9, "", lines);
  forms::MsSuperGrid grid("grid");
  bool filled = false;
  FillGridFromRecordset(grid, LineGrid::Order, *lines, filled, nullptr, false);
  ASSERT_EQ(grid.Rows(), 4);
  // Row 1 marked but hidden (split), row 2 marked with a partial quantity, row 3 not marked.
  grid.setTextMatrix(0, 1, "Y");
  grid.setRowHeight(1, 0);
  grid.setTextMatrix(0, 2, "Y");
  grid.setTextMatrix(grid.Cols() - 2, 2, "150.00");
  EXPECT_EQ(MarkedRows(grid), (std::vector<int>{2}));

  auto chosen = lines->copyStructure();
  GridRowRecord read;
  EXPECT_EQ(CollectMarkedRows(grid, LineGrid::Order, *chosen, 0,
                              [&](const GridRowRecord& r) { read = r; }),
            1);
  EXPECT_EQ(read.loadedQuantity, "1000.00");
  EXPECT_DOUBLE_EQ(read.thisQuantity, 150);
  ASSERT_EQ(chosen->recordCount(), 1);
  chosen->moveFirst();
  EXPECT_DOUBLE_EQ(chosen->value("iquantity").toDouble(), 150);
  EXPECT_EQ(chosen->value("cinvcode").toString(), "0102001");
  EXPECT_EQ(chosen->value("poid").toLong(), 9);
  EXPECT_EQ(chosen->value("darrivedate").displayText(), "2026-12-09");
  EXPECT_DOUBLE_EQ(chosen->value("ireceivedqty").toDouble(), 200);
  EXPECT_TRUE(chosen->value("cbcloser").isNull()) << "an empty cell leaves the field empty";
  EXPECT_NE(chosen->value("bquansign").toLong(), 0);

  // A row by its number, marked or not, hidden or not: a picker's one line; a return's sign.
  grid.setTextMatrix(grid.Cols() - 2, 3, "-5");
  auto one = lines->copyStructure();
  EXPECT_EQ(CollectMarkedRows(grid, LineGrid::Order, *one, 3), 1);
  one->moveFirst();
  EXPECT_DOUBLE_EQ(one->value("iquantity").toDouble(), -5);
  EXPECT_EQ(one->value("bquansign").toLong(), 0);

  // The same row read as a head grid's: its fields as shown, nothing of this time's columns.
  int quantityColumn = 0;
  int signColumn = 0;
  for (int c = 1; c < grid.Cols(); ++c) {
    if (grid.TextMatrix(c, 0) == "iquantity") quantityColumn = c;
    if (grid.TextMatrix(c, 0) == "bquansign") signColumn = c;
  }
  ASSERT_GT(quantityColumn, 0);
  ASSERT_GT(signColumn, 0);
  auto asHead = lines->copyStructure();
  EXPECT_EQ(CollectMarkedRows(grid, LineGrid::None, *asHead, 3), 1);
  asHead->moveFirst();
  EXPECT_DOUBLE_EQ(asHead->value("iquantity").toDouble(),
                   ToNumber(Variant(grid.TextMatrix(quantityColumn, 3))));
  EXPECT_NE(asHead->value("iquantity").toDouble(), -5);
  ASSERT_NE(ToNumber(Variant(grid.TextMatrix(signColumn, 3))), 0);
  EXPECT_NE(asHead->value("bquansign").toLong(), 0)
      << "the sign shown, not the sign of this time's quantity";
}

}  // namespace
}  // namespace quillon::module
