#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/public_classes.h"
#include "classes/ref_select_stock.h"
#include "components/purchase_ref_service.h"
#include "components/suite/login.h"
#include "dialogs/kit/stock_picker.h"
#include "forms/super_grid.h"
#include "forms/ui_host.h"
#include "module/fill_grid.h"
#include "module/list_columns.h"
#include "module/module_state.h"
#include "module/session.h"
#include "support/demo_account.h"
#include "support/silent_ui_host.h"

namespace quillon::dialogs::kit {
namespace {

using automation::Variant;
using namespace module;

// Remembers the message boxes it answers with their default button.
class RecordingHost : public test_support::SilentUiHost {
 public:
  int messageBox(const forms::MessageBoxRequest& request) override {
    messages.push_back(request.prompt);
    return request.defaultAnswer();
  }
  // Automatic allocation never shows a form; a modal one would be a fault of the picker.
  void runModal(forms::Form&) override { ADD_FAILURE() << "a form was shown"; }
  std::vector<std::string> messages;
};

class StockPicker : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenSession(components::suite::Login::open(
        test_support::demoAccount(test_support::registerSuiteClasses).path(), "demo"));
    // The suite's stock queries, which the pickers ask for their candidate rows.
    classes::registerLibraryClasses(automation::classRegistry());
    host_ = std::make_shared<RecordingHost>();
    previous_ = forms::setCurrentUiHost(host_);
    gBodyLayoutDone = false;
  }
  void TearDown() override {
    forms::setCurrentUiHost(previous_);
    gBodyLayoutDone = false;
  }

  // The lines of an arrival note in lstDhdBody, laid out, and a one-record copy of line `row`.
  std::shared_ptr<ado::Recordset> show(int arrivalId, int row) {
    std::shared_ptr<ado::Recordset> lines;
    components::purchaseRefService()->getArrivalLines(*gContext, arrivalId, "", lines);
    bool filled = false;
    FillGridFromRecordset(grid, LineGrid::Arrival, *lines, filled, nullptr, false);
    gBodyLayoutDone = false;
    SetListColumns(grid, ListKind::OrderBody);
    lines->setAbsolutePosition(row);
    lines->setFilter(Variant("autoid = " + lines->value("autoid").displayText()));
    return lines->copyWithRows();
  }

  int column(const std::string& caption) const { return grid.colByCaption(caption); }

  forms::MsSuperGrid grid{"lstDhdBody"};
  std::shared_ptr<StockReference> reference_ = classes::NewStockReference();
  std::shared_ptr<RecordingHost> host_;
  std::shared_ptr<forms::UiHost> previous_;
};

TEST_F(StockPicker, AReturnTracksTheReceiptItReturnsAgainst) {
  // Arrival note 10: -6 of 0101001 in warehouse 01, batch B2611-02 of receipt RK26110002.
  auto line = show(10, 1);
  const auto result =
      PickStockForLine(*reference_, grid, LineGrid::Arrival, 1, *line, StockPick::ReceiptVoucher,
                       true, receiptLineMapping(StockPick::ReceiptVoucher));
  ASSERT_EQ(result.rows, 1) << (host_->messages.empty() ? "" : host_->messages.front());
  EXPECT_EQ(result.text, "RK26110002");
  EXPECT_EQ(grid.TextMatrix(column("入库单号"), 1), "RK26110002");
  const int corId = grid.colByCaption("icorid");
  ASSERT_GT(corId, 0);
  EXPECT_EQ(grid.TextMatrix(corId, 1), "3");
  EXPECT_EQ(grid.TextMatrix(grid.Cols() - 2, 1), "-6.00");
  EXPECT_EQ(grid.TextMatrix(column("批号"), 1), "B2611-02");
}

TEST_F(StockPicker, SeveralBatchesSplitTheLineAndAWarehouseIsNeeded) {
  // Arrival note 8, line 1: 0101002 in warehouse 01; without its batch and for 700, the oldest
  // batch (628) does not cover it.
  auto line = show(8, 1);
  line->setValue(Variant("cbatch"), Variant(""));
  line->setValue(Variant("iquantity"), Variant(700.0));
  const int rowsBefore = grid.Rows();
  grid.setMarked(1, true);
  const auto result =
      PickStockForLine(*reference_, grid, LineGrid::Arrival, 1, *line, StockPick::Batch, true,
                       receiptLineMapping(StockPick::Batch));
  ASSERT_EQ(result.rows, 2);
  EXPECT_FALSE(result.text);
  EXPECT_EQ(grid.RowHeight(1), 0) << "the split line is hidden";
  ASSERT_EQ(grid.Rows(), rowsBefore + 2);
  EXPECT_TRUE(grid.isMarked(1));
  EXPECT_FALSE(grid.isMarked(rowsBefore) || grid.isMarked(rowsBefore + 1))
      << "appended lines start unmarked";
  EXPECT_EQ(grid.TextMatrix(column("批号"), rowsBefore), "B2610-01");
  EXPECT_EQ(grid.TextMatrix(grid.Cols() - 2, rowsBefore), "628.00");
  EXPECT_EQ(grid.TextMatrix(column("批号"), rowsBefore + 1), "B2611-02");
  EXPECT_EQ(grid.TextMatrix(grid.Cols() - 2, rowsBefore + 1), "72.00");
  EXPECT_EQ(grid.TextMatrix(column("存货编码"), rowsBefore + 1), "0101002");

  // Line 4 has no warehouse: refused, nothing changes.
  auto noWarehouse = show(8, 4);
  const std::string before = grid.TextMatrix(column("批号"), 4);
  const auto refused =
      PickStockForLine(*reference_, grid, LineGrid::Arrival, 4, *noWarehouse, StockPick::Batch,
                       true, receiptLineMapping(StockPick::Batch));
  EXPECT_EQ(refused.rows, 0);
  ASSERT_FALSE(host_->messages.empty());
  EXPECT_EQ(host_->messages.back(), kLineWarehouseEmpty);
  EXPECT_EQ(grid.TextMatrix(column("批号"), 4), before);
}

}  // namespace
}  // namespace quillon::dialogs::kit
