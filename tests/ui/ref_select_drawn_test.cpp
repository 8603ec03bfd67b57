// Example host scripts drive the library's dialogs through the renderer: the same transcript as the
// headless run, and pictures of the drawn dialogs along the way.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "drawn_examples.h"
#include "qt_test_support.h"
#include "run/host_script_runner.h"
#include "tests/support/scratch_dir.h"
#include "ui/qt/gui_script.h"

namespace quillon::ui::qt {
namespace {

namespace fs = std::filesystem;

using test_support::ScratchDir;

// Runs an example script headless and drawn, each on its own copy of the demo account (so neither
// sees the other's work tables or writes; the same file name in both, since the login names the
// account after it), and expects the same transcript; returns the drawn run's pictures.
std::vector<fs::path> runHeadlessAndDrawn(const ScratchDir& dir, const std::string& example) {
  testing::registerEverything();
  const std::string script = testing::readExample(example);
  EXPECT_FALSE(script.empty()) << example;
  const std::string plainDb = (dir.path() / example / "plain" / "demo.db").string();
  const std::string drawnDb = (dir.path() / example / "drawn" / "demo.db").string();
  testing::makeDemoAccount(plainDb);
  testing::makeDemoAccount(drawnDb);

  std::ostringstream plainOut;
  cli::run::HostScriptRunner plain(plainDb, plainOut);
  const auto plainResult = plain.runSource(script);
  EXPECT_TRUE(plainResult.ok) << plainResult.message;

  auto host = std::make_shared<DrawingScriptHost>(GuiScriptOptions{dir.path() / example / "shots"});
  std::ostringstream drawnOut;
  cli::run::HostScriptRunner drawn(drawnDb, drawnOut, host);
  const auto drawnResult = drawn.runSource(script);
  EXPECT_TRUE(drawnResult.ok) << drawnResult.message;
  EXPECT_EQ(drawnOut.str(), plainOut.str());
  testing::settle();
  return host->pictures();
}

TEST(RefSelectDrawnTest, AScriptWorksTheStockDialogDrawnToTheHeadlessResult) {
  ScratchDir dir;
  const auto pictures = runHeadlessAndDrawn(dir, "ref_select_batch_by_hand.qhs");
  ASSERT_GE(pictures.size(), 2u);
  EXPECT_EQ(pictures.front().filename(), "001-frmRefSelect.png");
  const QImage first(toQString(pictures.front().string()));
  ASSERT_FALSE(first.isNull());
  EXPECT_GT(first.width(), 300);
  EXPECT_NE(first, QImage(toQString(pictures.back().string())));
}

// Another workstation's sql behind the open dialog, the refusal it causes and the control states
// read off the drawn widgets hold drawn as they do headless.
TEST(RefSelectDrawnTest, AnotherWorkstationAndControlStatesHoldDrawnAsHeadless) {
  ScratchDir dir;
  const auto pictures = runHeadlessAndDrawn(dir, "produce_order_closed_elsewhere.qhs");
  ASSERT_GE(pictures.size(), 2u);
  EXPECT_EQ(pictures.front().filename(), "001-frmProduceOrder.png");
  EXPECT_EQ(pictures.back().filename().string().substr(3), "-frmRefSelect.png");
}

// The receipt hosts of the order and arrival-note dialog: each example holds drawn as headless, and
// the dialog is pictured as the person works it.
TEST(StockOrderDrawnTest, TheReceiptExamplesHoldDrawnAsHeadless) {
  ScratchDir dir;
  for (const char* example :
       {"stock_order_partial_receipt.qhs", "stock_order_arrival_warehouse.qhs",
        "stock_order_consignment.qhs", "stock_order_red_tracked.qhs", "stock_order_cancel.qhs"}) {
    SCOPED_TRACE(example);
    const auto pictures = runHeadlessAndDrawn(dir, example);
    ASSERT_GE(pictures.size(), 3u);
    EXPECT_EQ(pictures.front().filename(), "001-frmStockOrder.png");
    const QImage first(toQString(pictures.front().string()));
    EXPECT_GT(first.width(), 600);
    EXPECT_NE(first, QImage(toQString(pictures.back().string())));
  }
}

// The sales-issue hosts of the delivery-note dialog: each example holds drawn as headless, and the
// dialog is pictured as the person works it.
TEST(ConsDrawnTest, TheSalesIssueExamplesHoldDrawnAsHeadless) {
  ScratchDir dir;
  for (const char* example : {"cons_sales_issue.qhs", "cons_consignment_issue.qhs",
                              "cons_red_issue.qhs", "cons_bulk_batches.qhs", "cons_cancel.qhs"}) {
    SCOPED_TRACE(example);
    const auto pictures = runHeadlessAndDrawn(dir, example);
    ASSERT_GE(pictures.size(), 3u);
    EXPECT_EQ(pictures.front().filename(), "001-frmCons.png");
    const QImage first(toQString(pictures.front().string()));
    EXPECT_GT(first.width(), 600);
    EXPECT_NE(first, QImage(toQString(pictures.back().string())));
  }
}

// The bin-position and return-inventory hosts: the picker drawn as the person works its tree and
// list (modal and modeless), and the batch-position form after its filter.
TEST(ReturnInvSetDrawnTest, ThePickerAndBinPositionExamplesHoldDrawnAsHeadless) {
  ScratchDir dir;
  for (const char* example : {"return_inv_set_by_class.qhs", "return_inv_set_root_and_rows.qhs"}) {
    SCOPED_TRACE(example);
    const auto pictures = runHeadlessAndDrawn(dir, example);
    ASSERT_GE(pictures.size(), 10u);
    EXPECT_EQ(pictures.front().filename(), "001-frmReturnInvSet.png");
    const QImage first(toQString(pictures.front().string()));
    EXPECT_GT(first.width(), 600);
    // Half-way the person has changed what the fresh picker showed.
    EXPECT_NE(first, QImage(toQString(pictures[pictures.size() / 2].string())));
  }
  const auto pictures = runHeadlessAndDrawn(dir, "position_set_bin_moves.qhs");
  ASSERT_GE(pictures.size(), 2u);
  EXPECT_EQ(pictures.front().filename(), "001-frmBatchPosition.png");
}

// The outsourced-order hosts: receipt, concession receipt, kit issue, type 39 and cancel hold drawn
// as headless, the dialog pictured after every action a person takes in it.
TEST(WWProduceOrderDrawnTest, TheOutsourcedOrderExamplesHoldDrawnAsHeadless) {
  ScratchDir dir;
  for (const char* example :
       {"outsourced_order_receipt.qhs", "outsourced_order_concession_receipt.qhs",
        "outsourced_order_kit_issue.qhs", "outsourced_order_type39_issue.qhs",
        "outsourced_order_cancel.qhs"}) {
    SCOPED_TRACE(example);
    const auto pictures = runHeadlessAndDrawn(dir, example);
    ASSERT_GE(pictures.size(), 3u);
    EXPECT_EQ(pictures.front().filename(), "001-frmWWProduceOrder.png");
    const QImage first(toQString(pictures.front().string()));
    EXPECT_GT(first.width(), 600);
    EXPECT_NE(first, QImage(toQString(pictures.back().string())));
  }
}

}  // namespace
}  // namespace quillon::ui::qt
