// Sorting a drawn list by clicking its column headers: the rows show in the new order with the
// header's arrow, and a click, check or edit on a shown row reaches that row's own data.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <algorithm>

#include "drawn_sample_form.h"

namespace quillon::ui::qt {
namespace {

using testing::settle;
using testing::widgetOf;

class DrawnListSortTest : public testing::DrawnSampleForm {
 protected:
  QTableView* table(const std::string& name) {
    auto* view = widgetOf<QTableView>(*window, name);
    EXPECT_NE(view, nullptr) << name;
    return view;
  }
  static void clickHeader(QTableView& view, int col) {
    QHeaderView* header = view.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    settle();
  }
  static QString shown(QTableView& view, int row, int col) {
    return view.model()->index(row, col).data().toString();
  }
  static QPoint centreOf(QTableView& view, int row, int col) {
    return view.visualRect(view.model()->index(row, col)).center();
  }
  void showTab(int tab) {
    window->findChild<QTabBar*>()->setCurrentIndex(tab);
    settle();
  }
  bool logged(const std::string& line) const {
    return std::find(form.log.begin(), form.log.end(), line) != form.log.end();
  }
};

TEST_F(DrawnListSortTest, AListViewSortsOnItsHeaderAndChecksTheItemShown) {
  QTableView* head = table("lstHead");
  ASSERT_NE(head, nullptr);
  clickHeader(*head, 1);
  EXPECT_EQ(shown(*head, 0, 1), QStringLiteral("D1"));
  EXPECT_TRUE(head->horizontalHeader()->isSortIndicatorShown());
  clickHeader(*head, 1);
  EXPECT_EQ(head->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
  EXPECT_EQ(head->horizontalHeader()->sortIndicatorSection(), 1);
  EXPECT_EQ(shown(*head, 0, 0), QStringLiteral("A003"));
  EXPECT_EQ(shown(*head, 2, 0), QStringLiteral("A001"));

  head->model()->setData(head->model()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
  EXPECT_TRUE(form.lstHead.item(3).Checked());
  EXPECT_FALSE(form.lstHead.item(1).Checked());
  EXPECT_TRUE(logged("lstHead_ItemCheck:3k+"));
  // The row marked is drawn marked where it shows.
  EXPECT_TRUE(head->model()->index(0, 1).data(Qt::BackgroundRole).isValid());
  EXPECT_FALSE(head->model()->index(2, 1).data(Qt::BackgroundRole).isValid());

  // The current item shows where it is now.
  form.lstHead.setSelectedItem(&form.lstHead.item(1));
  settle();
  EXPECT_EQ(head->currentIndex().row(), 2);
  QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, centreOf(*head, 1, 1));
  EXPECT_EQ(form.lstHead.SelectedItem(), &form.lstHead.item(2));

  // Refilled, the list shows its own order and no arrow.
  form.lstHead.addItem("A000");
  settle();
  EXPECT_FALSE(head->horizontalHeader()->isSortIndicatorShown());
  EXPECT_EQ(shown(*head, 0, 0), QStringLiteral("A001"));
}

TEST_F(DrawnListSortTest, AGridSortedDescendingMarksAndEditsTheRowsShown) {
  showTab(1);
  QTableView* body = table("grdBody");
  ASSERT_NE(body, nullptr);
  clickHeader(*body, 1);
  clickHeader(*body, 1);
  ASSERT_TRUE(form.grdBody.rowOrder().descending());
  EXPECT_EQ(shown(*body, 0, 1), QStringLiteral("I02"));
  EXPECT_EQ(shown(*body, 1, 1), QStringLiteral("I01"));

  // The form marks the clicked row (its Click): grid row 2, shown first.
  QTest::mouseClick(body->viewport(), Qt::LeftButton, {}, centreOf(*body, 0, 1));
  settle();
  EXPECT_EQ(form.grdBody.Row(), 2);
  EXPECT_TRUE(form.grdBody.isMarked(2));
  EXPECT_FALSE(form.grdBody.isMarked(1));
  EXPECT_EQ(body->currentIndex().row(), 0);

  // An edit of the second shown row is grid row 1's.
  body->edit(body->model()->index(1, 2));
  auto* editor = body->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText(QStringLiteral("1"));
  QTest::keyClick(editor, Qt::Key_Return);
  settle();
  EXPECT_TRUE(logged("grdBody_CellChange:1,2"));
  EXPECT_EQ(form.grdBody.TextMatrix(2, 1), "1.00");
  EXPECT_EQ(form.grdBody.TextMatrix(2, 2), "");
  EXPECT_EQ(shown(*body, 1, 2), QStringLiteral("1.00"));
}

TEST_F(DrawnListSortTest, AVoucherListSortedByQuantityMarksTheRowShown) {
  showTab(2);
  QTableView* lines = table("vlLines");
  ASSERT_NE(lines, nullptr);
  clickHeader(*lines, 2);
  clickHeader(*lines, 2);
  EXPECT_EQ(shown(*lines, 0, 1), QStringLiteral("I02"));
  QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, centreOf(*lines, 0, 0));
  EXPECT_TRUE(form.vlLines.Marked(2));
  EXPECT_FALSE(form.vlLines.Marked(1));
  EXPECT_TRUE(logged("vlLines_RowMarkChanged:2"));
}

}  // namespace
}  // namespace quillon::ui::qt
