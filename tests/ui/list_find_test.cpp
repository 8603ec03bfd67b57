// Ctrl+F in a drawn list: a find field opens under it, matching rows are tinted and reached as the
// person types, Enter goes on to the next match, and neither Enter nor Esc reaches the dialog.
#include <gtest/gtest.h>

#include <QBrush>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <algorithm>

#include "drawn_sample_form.h"
#include "ui/qt/grid_models.h"

namespace quillon::ui::qt {
namespace {

using testing::settle;
using testing::widgetOf;

class ListFindDrawnTest : public testing::DrawnSampleForm {
 protected:
  QColor rowColour(QTableView& view, int row) {
    const QVariant brush = view.model()->index(row, 1).data(Qt::BackgroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
  }
};

TEST_F(ListFindDrawnTest, TypingFindsAndTintsRowsEnterGoesOnEscCloses) {
  auto* head = widgetOf<QTableView>(*window, "lstHead");
  ASSERT_NE(head, nullptr);
  form.lstHead.SetFocus();
  settle();
  QTest::keyClick(head, Qt::Key_F, Qt::ControlModifier);
  settle();
  auto* field = widgetOf<QLineEdit>(*window, "lstHead.status.find");
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->isVisible());
  EXPECT_TRUE(field->hasFocus());
  // It lies in the list's status strip, under the rows.
  EXPECT_GT(field->geometry().top(), head->geometry().bottom());

  QTest::keyClicks(field, QStringLiteral("a002"));
  settle();
  EXPECT_EQ(form.lstHead.SelectedItem(), &form.lstHead.item(2));
  EXPECT_EQ(head->currentIndex().row(), 1);
  EXPECT_EQ(rowColour(*head, 1), kFoundRowColour);
  EXPECT_FALSE(rowColour(*head, 0).isValid());

  // What a scanner types, fast and ending in Enter, goes to the next match, never to OK.
  field->clear();
  QTest::keyClicks(field, QStringLiteral("A00"));
  QTest::keyClick(field, Qt::Key_Return);
  settle();
  EXPECT_EQ(form.lstHead.SelectedItem(), &form.lstHead.item(3));
  QTest::keyClick(field, Qt::Key_Return);
  settle();
  EXPECT_EQ(form.lstHead.SelectedItem(), &form.lstHead.item(1));
  EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "cmdOk_Click"), 0);
  EXPECT_EQ(rowColour(*head, 2), kFoundRowColour);
  EXPECT_FALSE(form.lstHead.item(1).Checked()) << "finding a row does not check it";

  const int beeps = host->beeps;
  QTest::keyClicks(field, QStringLiteral("zz"));
  settle();
  EXPECT_GT(host->beeps, beeps);
  EXPECT_EQ(form.lstHead.SelectedItem(), &form.lstHead.item(1));

  QTest::keyClick(field, Qt::Key_Escape);
  settle();
  EXPECT_FALSE(field->isVisible());
  EXPECT_TRUE(head->hasFocus());
  EXPECT_FALSE(rowColour(*head, 0).isValid());
  EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "cmdExit_Click"), 0);
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace quillon::ui::qt
