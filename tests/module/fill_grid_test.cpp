#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ado/data_type.h"
#include "ado/recordset.h"
#include "forms/super_grid.h"
#include "module/fill_grid.h"
#include "module/list_columns.h"
#include "module/module_state.h"
#include "module_fixture.h"

namespace quillon::module {
namespace {

using automation::Variant;

// A recordset of the given fields (numbers unless the name starts with "c") and rows.
std::shared_ptr<ado::Recordset> records(const std::vector<std::string>& fields,
                                        const std::vector<std::vector<Variant>>& rows) {
  std::vector<ado::FieldDef> defs;
  for (const auto& f : fields) {
    defs.push_back(f[0] == 'c' ? ado::fieldFromAdoType(f, ado::adVarWChar, 20)
                               : ado::fieldFromAdoType(f, ado::adDouble, 0));
  }
  auto rs = ado::Recordset::fabricate(std::move(defs));
  for (const auto& row : rows) {
    rs->addNew();
    for (std::size_t i = 0; i < fields.size(); ++i) rs->setValue(Variant(fields[i]), row[i]);
    rs->update();
  }
  return rs;
}

GridNumberFormats withDigits(int quantity, int pieces) {
  GridNumberFormats f;
  f.quantityDigits = quantity;
  f.piecesDigits = pieces;
  f.quantityRounding = f.quantityPattern();
  return f;
}

// The four computed cells of a row.
std::vector<std::string> computed(const forms::MsSuperGrid& grid, int row) {
  std::vector<std::string> out;
  for (int c = grid.Cols() - 4; c < grid.Cols(); ++c) out.push_back(grid.TextMatrix(c, row));
  return out;
}

using Texts = std::vector<std::string>;

TEST(FillGridFromRecordset, OrderLinesShowWhatIsOpenNeverBelowZero) {
  forms::MsSuperGrid grid("grid");
  auto rs = records(
      {"cinvcode", "iarrnum", "ireceivednum", "iquantity", "iarrqty", "ireceivedqty", "inum"},
      {{"A", Variant::null(), Variant::null(), 10.0, 6.0, 6.0, Variant::null()},
       {"B", 1.0, 0.0, 9.0, 3.0, 3.0, 5.0},
       {"C", Variant::null(), Variant::null(), 5.0, 2.0, Variant::null(), Variant::null()}});
  bool filled = false;
  FillGridFromRecordset(grid, LineGrid::Order, *rs, filled, nullptr, false, withDigits(2, 0));
  EXPECT_TRUE(filled);
  ASSERT_EQ(grid.Rows(), 4);
  ASSERT_EQ(grid.Cols(), 1 + 7 + 4);
  EXPECT_EQ(grid.TextMatrix(0, 0), "选择");
  EXPECT_EQ(grid.TextMatrix(4, 0), "iquantity");
  EXPECT_EQ(computed(grid, 0), (Texts{"未入库数量", "未入库件数", "本次入库数量", "本次入库件数"}));
  // 10 - 6 - 6 is below zero: "0", and this time's quantity follows it.
  EXPECT_EQ(computed(grid, 1), (Texts{"0", "0.", "0", "0."}));
  EXPECT_EQ(grid.TextMatrix(4, 1), "4.00") << "the order quantity shows net of arrivals";
  EXPECT_EQ(computed(grid, 2), (Texts{"3.00", "4.", "3.00", "4."}));
  EXPECT_EQ(grid.TextMatrix(7, 2), "4.") << "pieces net of arrivals";
  EXPECT_EQ(computed(grid, 3), (Texts{"3.00", "0.", "3.00", "0."}));
  rs->moveLast();
  EXPECT_DOUBLE_EQ(rs->value("iquantity").toDouble(), 5.0) << "the recordset keeps its values";
  // The computed open columns are locked, this time's are not.
  EXPECT_TRUE(grid.ColLock(grid.Cols() - 4));
  EXPECT_FALSE(grid.ColLock(grid.Cols() - 2));
  EXPECT_TRUE(grid.ColLock(1));
  EXPECT_TRUE(grid.Redraw());

  FillGridFromRecordset(grid, LineGrid::Order, *rs, filled, nullptr, false, withDigits(0, 0));
  EXPECT_EQ(computed(grid, 2)[0], "3.") << "no decimals still show the point";
}

TEST(FillGridFromRecordset, ArrivalAndDeliveryLinesAndFixedRateUnits) {
  forms::MsSuperGrid arrivals("grid");
  auto rs = records({"cwhname", "cbatch", "igrouptype", "iinvexchrate", "fvalidinnum", "iquantity",
                     "fvalidinquan", "inum"},
                    {{"原料仓", "B1", 0.0, Variant::null(), Variant::null(), -4.0, Variant::null(),
                      Variant::null()},
                     {"", "", 1.0, 10.0, 1.0, 50.0, 20.0, 5.0}});
  bool filled = false;
  FillGridFromRecordset(arrivals, LineGrid::Arrival, *rs, filled, nullptr, false, withDigits(2, 2));
  EXPECT_EQ(computed(arrivals, 1), (Texts{"-4.00", "0.00", "-4.00", "0.00"}));
  // A fixed rate gives the pieces from the quantities: 20 / 10 received, 30 / 10 open.
  EXPECT_EQ(computed(arrivals, 2), (Texts{"30.00", "3.00", "30.00", "3.00"}));
  EXPECT_EQ(arrivals.TextMatrix(5, 2), "2.00");
  EXPECT_EQ(arrivals.TextMatrix(4, 2), "10.0000");
  EXPECT_FALSE(arrivals.ColLock(1)) << "the warehouse is edited on a line";
  EXPECT_TRUE(arrivals.ColButton(1));
  EXPECT_TRUE(arrivals.ColButton(2));

  forms::MsSuperGrid deliveries("grid");
  auto dl =
      records({"cinvcode", "iquantity", "foutquantity", "foutnum", "inum"},
              {{"X", -5.0, -5.0, Variant::null(), Variant::null()}, {"Y", 7.0, 2.5, 1.0, 3.0}});
  FillGridFromRecordset(deliveries, LineGrid::Delivery, *dl, filled, nullptr, false,
                        withDigits(2, 1));
  EXPECT_EQ(computed(deliveries, 0),
            (Texts{"未出库数量", "未出库件数", "本次出库数量", "本次出库件数"}));
  EXPECT_EQ(computed(deliveries, 1), (Texts{"0", "0.0", "0", "0.0"}));
  EXPECT_EQ(deliveries.TextMatrix(2, 1), "-5.00");
  EXPECT_EQ(computed(deliveries, 2), (Texts{"4.50", "2.0", "4.50", "2.0"}));

  // A head grid has the field columns alone.
  forms::MsSuperGrid heads("grid");
  FillGridFromRecordset(heads, LineGrid::None, *dl, filled, nullptr, false, withDigits(2, 2));
  EXPECT_EQ(heads.Cols(), 6);
  EXPECT_EQ(heads.TextMatrix(2, 2), "7");
}

TEST(FillGridFromRecordset, AppendKeepsRowsAndMarksAndSavedValuesSetThisTime) {
  forms::MsSuperGrid grid("grid");
  const std::vector<std::string> fields{"cinvcode", "iquantity", "fvalidinquan", "inum"};
  auto first = records(fields, {{"A", 8.0, 2.0, Variant::null()}});
  bool filled = false;
  // Appending to an empty grid (row count 0, as the lines display leaves it) starts it afresh.
  grid.setRows(0);
  FillGridFromRecordset(grid, LineGrid::Arrival, *first, filled, nullptr, true, withDigits(2, 2));
  ASSERT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.TextMatrix(1, 0), "cinvcode");
  grid.setTextMatrix(0, 1, "Y");
  grid.setTextMatrix(1, 0, "存货编码");

  auto second = records(fields, {{"B", 3.0, 0.0, 1.0}, {"C", -2.0, 0.0, Variant::null()}});
  FillGridFromRecordset(grid, LineGrid::Arrival, *second, filled, nullptr, true, withDigits(2, 2));
  ASSERT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.TextMatrix(0, 1), "Y") << "marks of the rows already there stay";
  EXPECT_EQ(grid.TextMatrix(1, 0), "存货编码") << "the captions stay";
  EXPECT_EQ(grid.TextMatrix(1, 3), "C");
  EXPECT_EQ(computed(grid, 1)[2], "6.00");

  // A picker's stock row: this time's quantity and pieces come from it, from the return
  // columns for a red line when the row has them.
  auto stock = records({"出库数量", "出库件数", "退回数量", "退回件数"}, {{4.0, 0.5, -1.5, 0.0}});
  stock->moveFirst();
  auto blue = records(fields, {{"D", 9.0, 0.0, Variant::null()}});
  FillGridFromRecordset(grid, LineGrid::Arrival, *blue, filled, stock.get(), true,
                        withDigits(2, 2));
  EXPECT_EQ(computed(grid, 4), (Texts{"9.00", "0.00", "4.00", "0.50"}));
  auto red = records(fields, {{"E", -3.0, 0.0, Variant::null()}});
  FillGridFromRecordset(grid, LineGrid::Arrival, *red, filled, stock.get(), true, withDigits(2, 2));
  EXPECT_EQ(computed(grid, 5), (Texts{"-3.00", "0.00", "-1.50", "0.00"}));

  auto none = records(fields, {});
  FillGridFromRecordset(grid, LineGrid::Arrival, *none, filled, nullptr, true, withDigits(2, 2));
  EXPECT_FALSE(filled);
  EXPECT_EQ(grid.Rows(), 6);
  FillGridFromRecordset(grid, LineGrid::Arrival, *none, filled, nullptr, false, withDigits(2, 2));
  EXPECT_EQ(grid.Rows(), 1) << "replace mode leaves the captions alone";
  EXPECT_EQ(grid.TextMatrix(1, 0), "cinvcode");
}

TEST(FillGridFromRecordset, TheLayoutKeepsTheQuantityColumnsVisibleUnderTheirCaptions) {
  testing::openSessionAs("demo");
  gBodyLayoutDone = false;
  forms::MsSuperGrid grid("grid");
  auto rs = records({"id", "cinvcode", "csecret", "iquantity", "ireceivedqty"},
                    {{1.0, "A", "x", 5.0, 1.0}});
  bool filled = false;
  FillGridFromRecordset(grid, LineGrid::Order, *rs, filled, nullptr, false);
  SetListColumns(grid, ListKind::OrderBody);
  EXPECT_EQ(grid.ColWidth(1), 0) << "the row key is hidden";
  EXPECT_EQ(grid.ColWidth(3), 0) << "a field the table does not name is hidden";
  EXPECT_EQ(grid.TextMatrix(4, 0), "应入库数量");
  EXPECT_EQ(gRowKeyColumn, 1);
  for (int c = grid.Cols() - 4; c < grid.Cols(); ++c) {
    EXPECT_NE(grid.ColWidth(c), 0) << c;
  }
  EXPECT_EQ(grid.TextMatrix(grid.Cols() - 2, 0), "本次入库数量");
  // The demo account's formats: two decimals.
  EXPECT_EQ(grid.TextMatrix(grid.Cols() - 4, 1), "4.00");
  gBodyLayoutDone = false;
}

}  // namespace
}  // namespace quillon::module
