// The scan field of a drawn line grid: at the right of its status line, what a keyboard-wedge
// scanner types (fast, ending in Enter) reaches the grid and never the dialog's OK; the field
// empties for the next scan, or keeps and tints what no line took.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "drawn_sample_form.h"

namespace quillon::ui::qt {
namespace {

using testing::settle;
using testing::widgetOf;

class ListScanDrawnTest : public testing::DrawnSampleForm {
 protected:
  void SetUp() override {
    // The grid takes the codes of its first column; the field is drawn for a grid that has a
    // handler when the window is made.
    form.grdBody.Scan = [this](const std::string& text, int& row) {
      scans.push_back(text);
      for (int r = 1; r < form.grdBody.Rows(); ++r) {
        if (form.grdBody.TextMatrix(1, r) == text) row = r;
      }
      if (row == 0) forms::Beep();
    };
    DrawnSampleForm::SetUp();
  }
  std::vector<std::string> scans;
};

TEST_F(ListScanDrawnTest, AScannerTypesIntoTheFieldAndEnterNeverPressesOk) {
  auto* grid = widgetOf<QTableView>(*window, "grdBody");
  auto* field = widgetOf<QLineEdit>(*window, "grdBody.status.scan");
  ASSERT_NE(grid, nullptr);
  ASSERT_NE(field, nullptr) << "a grid with a scan handler shows the field";
  EXPECT_FALSE(field->isVisible()) << "the grid's tab is not shown: nor is its field";
  window->findChild<QTabBar*>()->setCurrentIndex(1);
  settle();
  EXPECT_TRUE(field->isVisible());
  EXPECT_EQ(field->placeholderText(), QStringLiteral("扫描"));
  // In the grid's status strip, under its rows, at the right end.
  auto* status = widgetOf<QLabel>(*window, "grdBody.status");
  ASSERT_NE(status, nullptr);
  EXPECT_GT(field->geometry().top(), grid->geometry().bottom());
  EXPECT_EQ(field->geometry().right(), status->geometry().right());
  EXPECT_EQ(widgetOf<QLineEdit>(*window, "lstHead.status.scan"), nullptr)
      << "a list without a scan handler has no field";

  field->setFocus();
  QTest::keyClicks(field, QStringLiteral("I02"));
  QTest::keyClick(field, Qt::Key_Return);
  settle();
  EXPECT_EQ(scans, std::vector<std::string>{"I02"});
  EXPECT_TRUE(field->text().isEmpty()) << "ready for the next scan";
  EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "cmdOk_Click"), 0);
  EXPECT_TRUE(window->isVisible());

  const int beeps = host->beeps;
  QTest::keyClicks(field, QStringLiteral("ZZ"));
  QTest::keyClick(field, Qt::Key_Enter);
  settle();
  EXPECT_EQ(host->beeps, beeps + 1);
  EXPECT_EQ(field->text(), QStringLiteral("ZZ")) << "what no line took stays to be read";
  EXPECT_NE(field->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
  QTest::keyClick(field, Qt::Key_Escape);
  settle();
  EXPECT_TRUE(field->text().isEmpty());
  EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "cmdOk_Click"), 0);
  EXPECT_TRUE(window->isVisible()) << "Esc in the field does not close the dialog";
}

}  // namespace
}  // namespace quillon::ui::qt
