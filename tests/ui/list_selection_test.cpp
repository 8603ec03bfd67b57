// A multi-select list view: what a person selects with clicks, Ctrl, Shift and the keys becomes
// the items' selection, and the items' selection set by code shows in the view.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QTableView>
#include <QtTest/QTest>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "qt_test_support.h"

namespace quillon::ui::qt {
namespace {

using testing::AnsweringQtHost;
using testing::settle;
using testing::widgetOf;

class frmPick : public forms::Form {
 public:
  frmPick() : Form("frmPick", "选择仓库", 6000, 4000) {
    lstWh.setMultiSelect(true);
    lstWh.addColumn("仓库", 2000);
    for (int i = 1; i <= 6; ++i) lstWh.addItem("仓库" + std::to_string(i), "w" + std::to_string(i));
    lstWh.ItemClick = [this](forms::ListItem& item) { clicks.push_back(item.Index()); };
  }

  std::vector<int> clicks;
  forms::TextBox& txtCode = add<forms::TextBox>("txtCode", {120, 120, 2000, 300});
  forms::ListView& lstWh = add<forms::ListView>("lstWh", {120, 600, 5600, 3000});
};

// Item numbers (1-based) selected in the list, and shown selected in the view.
std::vector<int> itemsSelected(const forms::ListView& list) {
  std::vector<int> items;
  for (int i = 1; i <= list.itemCount(); ++i) {
    if (list.item(i).Selected()) items.push_back(i);
  }
  return items;
}

std::vector<int> rowsShown(const QTableView& view) {
  std::vector<int> items;
  for (const QModelIndex& index : view.selectionModel()->selectedRows()) {
    items.push_back(index.row() + 1);
  }
  std::sort(items.begin(), items.end());
  return items;
}

TEST(ListSelectionTest, AMultiSelectListAndItsViewShareOneSelection) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmPick form;
  form.Show();
  FormWindow* window = host->windows().find(form);
  ASSERT_NE(window, nullptr);
  settle();
  auto* view = widgetOf<QTableView>(*window, "lstWh");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
  auto click = [&](int item, Qt::KeyboardModifiers mods = {}) {
    const QPoint at = view->visualRect(view->model()->index(item - 1, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, at);
    settle();
  };

  // A plain click selects one item; Ctrl adds another; Shift adds the range up to the click.
  click(1);
  EXPECT_EQ(form.ActiveControl(), &form.lstWh);
  EXPECT_EQ(itemsSelected(form.lstWh), (std::vector<int>{1}));
  click(3, Qt::ControlModifier);
  EXPECT_EQ(itemsSelected(form.lstWh), (std::vector<int>{1, 3}));
  click(5, Qt::ShiftModifier);
  EXPECT_EQ(form.lstWh.SelectedItem(), &form.lstWh.item(5));
  std::vector<int> selected = itemsSelected(form.lstWh);
  EXPECT_EQ(selected, rowsShown(*view));
  const std::vector<int> range{3, 4, 5};
  EXPECT_TRUE(std::includes(selected.begin(), selected.end(), range.begin(), range.end()));
  EXPECT_EQ(form.clicks, (std::vector<int>{1, 3, 5}));

  // Ctrl on a selected item takes it out, without an ItemClick for it.
  click(4, Qt::ControlModifier);
  EXPECT_FALSE(form.lstWh.item(4).Selected());
  EXPECT_EQ(itemsSelected(form.lstWh), rowsShown(*view));
  EXPECT_EQ(form.clicks.size(), 3u);

  // Keys: a plain move selects the one item moved to; Shift extends from there.
  click(2);
  QTest::keyClick(view, Qt::Key_Down);
  settle();
  EXPECT_EQ(itemsSelected(form.lstWh), (std::vector<int>{3}));
  QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
  settle();
  EXPECT_EQ(itemsSelected(form.lstWh), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(rowsShown(*view), (std::vector<int>{3, 4, 5}));
  QTest::keyClick(view, Qt::Key_Up, Qt::ShiftModifier);
  settle();
  EXPECT_EQ(itemsSelected(form.lstWh), (std::vector<int>{3, 4}));
  EXPECT_EQ(form.lstWh.SelectedItem(), &form.lstWh.item(4));

  // Code selects and deselects items; the view follows, and its current row is the list's.
  form.lstWh.item(3).setSelected(false);
  form.lstWh.item(6).setSelected(true);
  form.lstWh.item(1).setSelected(true);
  settle();
  EXPECT_EQ(rowsShown(*view), (std::vector<int>{1, 4, 6}));
  EXPECT_EQ(view->currentIndex().row(), 0);

  // Refilling the list keeps what the new items say.
  form.lstWh.clearItems();
  for (int i = 1; i <= 4; ++i) form.lstWh.addItem("新" + std::to_string(i));
  form.lstWh.item(2).setSelected(true);
  settle();
  EXPECT_EQ(rowsShown(*view), (std::vector<int>{2}));

  // A list that is not multi-select keeps one selected row.
  form.lstWh.setMultiSelect(false);
  EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);

  form.Unload();
  settle();
}

}  // namespace
}  // namespace quillon::ui::qt
