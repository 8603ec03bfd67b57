#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/list_view.h"
#include "forms/super_grid.h"
#include "module/list_captions.h"
#include "module/list_columns.h"
#include "module/module_state.h"
#include "module_fixture.h"

namespace quillon::module {
namespace {

std::unique_ptr<forms::ListView> reportList(const std::string& name,
                                            const std::vector<std::string>& fields) {
  auto list = std::make_unique<forms::ListView>(name);
  for (const auto& f : fields) list->addColumn(f);
  return list;
}

void fillGrid(forms::MsSuperGrid& grid, const std::vector<std::string>& fields) {
  grid.setCols(static_cast<int>(fields.size()) + 1);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    grid.setTextMatrix(static_cast<int>(i) + 1, 0, fields[i]);
  }
}

TEST(ModuleListColumns, ReportListCaptionsIgnoreCaseAndHideUnknownFields) {
  testing::openSessionAs("demo");
  auto listPtr = reportList("list", {"SubID", "cInvCode", "iCurOutQuantity", "cSecret", "cDefine1",
                                     "cFree1", "cDefine9"});
  auto& list = *listPtr;
  SetListColumns(list, ListKind::Child);
  EXPECT_EQ(list.column(1).text, "选择");
  EXPECT_EQ(list.column(2).text, "材料编码");
  EXPECT_EQ(list.column(3).text, "本次出库数量");
  EXPECT_EQ(list.column(4).width, 0) << "a field the table does not name is hidden";
  EXPECT_EQ(list.column(4).text, "cSecret");
  EXPECT_EQ(list.column(5).text, "合同号");
  EXPECT_EQ(list.column(6).text, "颜色") << "free items are captioned on line lists";
  EXPECT_EQ(list.column(7).text, "") << "a definition not in use has no caption";
  EXPECT_EQ(list.column(7).width, 0) << "and its column is hidden";
  EXPECT_NE(list.column(2).width, 0);
  EXPECT_TRUE(list.Visible());
  EXPECT_TRUE(list.Enabled());

  // Head lists leave free items to the table, which does not know them.
  auto headsPtr = reportList("heads", {"id", "cfree3", "cdefine10"});
  auto& heads = *headsPtr;
  SetListColumns(heads, ListKind::Parent);
  EXPECT_EQ(heads.column(1).text, "选择");
  EXPECT_EQ(heads.column(2).width, 0);
  EXPECT_EQ(heads.column(3).text, "项目说明");
}

TEST(ModuleListColumns, ProductLineQuantityCaptionDependsOnTheVoucherType) {
  testing::openSessionAs("demo");
  gVouchType = 72;
  auto receiptPtr = reportList("lines", {"mainid", "fQuantity", "cfree3"});
  auto& receipt = *receiptPtr;
  SetListColumns(receipt, ListKind::Sub);
  EXPECT_EQ(receipt.column(2).text, "应入库数量");
  EXPECT_EQ(receipt.column(3).text, "材质");

  gVouchType = 71;
  auto issuePtr = reportList("lines", {"mainid", "fquantity"});
  auto& issue = *issuePtr;
  SetListColumns(issue, ListKind::Sub);
  EXPECT_EQ(issue.column(2).text, "投产数量");
  gVouchType = 0;
  EXPECT_EQ(captionOf(ListKind::Sub, "FQUANTITY", 0), "投产数量");
}

TEST(ModuleListColumns, BodyGridsAreLaidOutOncePerCycleAndRecordTheirKeyColumns) {
  testing::openSessionAs("demo");
  gBodyLayoutDone = false;
  forms::MsSuperGrid grid("grid");
  fillGrid(grid,
           {"cWhCode", "cWhName", "cInvCode", "dArriveDate", "AutoID", "iQuantity", "cFree2"});
  SetListColumns(grid, ListKind::OrderBody);
  EXPECT_TRUE(gBodyLayoutDone);
  EXPECT_EQ(gWhCodeColumn, 1);
  EXPECT_EQ(gWhNameColumn, 2);
  EXPECT_EQ(gRowKeyColumn, 5);
  EXPECT_EQ(grid.ColWidth(1), 0);
  EXPECT_EQ(grid.TextMatrix(2, 0), "仓库");
  EXPECT_EQ(grid.TextMatrix(4, 0), "计划到货日期");
  EXPECT_EQ(grid.ColWidth(4), kPlannedArrivalWidth);
  EXPECT_EQ(grid.ColWidth(5), 0);
  EXPECT_EQ(grid.TextMatrix(6, 0), "应入库数量");
  EXPECT_EQ(grid.TextMatrix(7, 0), "防护等级");

  // A refill within the same cycle keeps what the user sees.
  fillGrid(grid, {"cWhCode", "cWhName", "cInvCode"});
  SetListColumns(grid, ListKind::OrderBody);
  EXPECT_EQ(grid.TextMatrix(2, 0), "cWhName");
  EXPECT_EQ(gRowKeyColumn, 5);

  // The head flag is separate: a head grid is still laid out.
  gHeadLayoutDone = false;
  forms::MsSuperGrid heads("heads");
  fillGrid(heads, {"cDLCode", "cCusName", "id"});
  SetListColumns(heads, ListKind::DeliveryHead);
  EXPECT_EQ(heads.TextMatrix(1, 0), "发货单号");
  EXPECT_EQ(heads.ColWidth(3), 0);
  EXPECT_TRUE(gHeadLayoutDone);
  gHeadLayoutDone = false;
  gBodyLayoutDone = false;
}

}  // namespace
}  // namespace quillon::module
