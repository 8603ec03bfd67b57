// The status line under every list, as a person reads it: in the list's place, below its rows,
// saying what the list's status text says, and following marks and changes at once.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include "drawn_sample_form.h"

namespace quillon::ui::qt {
namespace {

using testing::settle;
using testing::widgetOf;

class ListStatusLineTest : public testing::DrawnSampleForm {
 protected:
  // The list's table and its status line, both shown, the line right under the table and inside
  // the control's place.
  QLabel* statusUnder(const forms::Control& control) {
    auto* table = widgetOf<QTableView>(*window, control.qualifiedName());
    auto* status = widgetOf<QLabel>(*window, control.qualifiedName() + ".status");
    if (table == nullptr || status == nullptr) {
      ADD_FAILURE() << control.qualifiedName() << " has no table or no status line";
      return nullptr;
    }
    EXPECT_TRUE(table->isVisible()) << control.qualifiedName();
    EXPECT_TRUE(status->isVisible()) << control.qualifiedName();
    EXPECT_EQ(status->parentWidget(), table->parentWidget());
    EXPECT_EQ(status->geometry().top(), table->geometry().bottom() + 1);
    EXPECT_EQ(status->width(), table->width());
    EXPECT_EQ(status->geometry().bottom() - table->geometry().top() + 1, control.Height() / 15);
    // All of its text fits on the line.
    EXPECT_LE(status->fontMetrics().horizontalAdvance(status->text()), status->width());
    return status;
  }
  void showTab(int tab) {
    window->findChild<QTabBar*>()->setCurrentIndex(tab);
    settle();
  }
};

TEST_F(ListStatusLineTest, EachListKindShowsItsStatusUnderItsRows) {
  QLabel* head = statusUnder(form.lstHead);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->text(), QStringLiteral("共 3 行，已选 0 行"));
  form.lstHead.item(2).setChecked(true);
  settle();
  EXPECT_EQ(head->text(), QStringLiteral("共 3 行，已选 1 行"));

  showTab(1);
  QLabel* body = statusUnder(form.grdBody);
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(head->isVisible(), false) << "a hidden list's status line hides with it";
  EXPECT_EQ(body->text(), toQString(*form.grdBody.statusText()));
  form.grdBody.setMarked(1, true);
  form.grdBody.setMarked(2, true);
  settle();
  EXPECT_EQ(body->text(), QStringLiteral("共 2 行，已选 2 行"));

  showTab(2);
  QLabel* lines = statusUnder(form.vlLines);
  ASSERT_NE(lines, nullptr);
  const QString before = lines->text();
  EXPECT_EQ(before, toQString(*form.vlLines.statusText()));
  auto* table = widgetOf<QTableView>(*window, "vlLines");
  const QRect cell = table->visualRect(table->model()->index(0, 0));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  settle();
  ASSERT_TRUE(form.vlLines.Marked(1));
  EXPECT_NE(lines->text(), before);
  EXPECT_EQ(lines->text(), toQString(*form.vlLines.statusText()));
}

TEST_F(ListStatusLineTest, AFilledListWithoutRowsSaysSoAndTheLineFollowsAResize) {
  form.lstHead.clearItems();
  settle();
  QLabel* head = statusUnder(form.lstHead);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->text(), QStringLiteral("没有符合条件的记录"));

  form.lstHead.setHeight(2400);
  settle();
  head = statusUnder(form.lstHead);
  ASSERT_NE(head, nullptr);

  // A list too low for a line of its own keeps its whole place.
  form.lstHead.setHeight(400);
  settle();
  EXPECT_FALSE(widgetOf<QLabel>(*window, "lstHead.status")->isVisible());
  EXPECT_EQ(widgetOf<QTableView>(*window, "lstHead")->height(), 400 / 15);
}

}  // namespace
}  // namespace quillon::ui::qt
