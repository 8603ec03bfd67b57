// Lists of 100 000 rows are drawn through their models (never a widget per cell) and scroll to
// their ends.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTableView>
#include <memory>
#include <string>

#include "forms/controls.h"
#include "qt_test_support.h"
#include "sample_form.h"

namespace quillon::ui::qt {
namespace {

using testing::AnsweringQtHost;
using testing::settle;
using testing::widgetOf;

constexpr int kRows = 100000;

class frmBig : public forms::Form {
 public:
  frmBig() : Form("frmBig", "现存量", 12000, 7000) {}
  forms::MsSuperGrid& grdStock = add<forms::MsSuperGrid>("grdStock", {60, 60, 11800, 3300});
  forms::MarlinVouchList& vlStock = add<forms::MarlinVouchList>("vlStock", {60, 3500, 11800, 3300});
};

class GeneratedRows : public forms::RowSource {
 public:
  int fieldCount() const override { return 3; }
  std::string fieldName(int f) const override {
    static const char* const kNames[] = {"cInvCode", "cWhCode", "iQuantity"};
    return kNames[f];
  }
  int rowCount() const override { return kRows; }
  std::string text(int row, int field) const override {
    return field == 0 ? "INV" + std::to_string(row + 1) : field == 1 ? "01" : std::to_string(row);
  }
};

TEST(BigGridTest, AHundredThousandRowsShowAndScrollToTheEnd) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmBig form;
  auto& grid = form.grdStock;
  grid.setCols(4);
  grid.setRows(kRows + 1);
  grid.setTextMatrix(1, 0, "存货编码");
  grid.setTextMatrix(3, 0, "数量");
  for (int r = 1; r <= kRows; ++r) {
    grid.setTextMatrix(1, r, "INV" + std::to_string(r));
    grid.setTextMatrix(3, r, std::to_string(r * 2));
  }
  form.vlStock.setColumnDefinitions("cInvCode,存货编码,1500;iQuantity,数量,900");
  form.vlStock.bind(std::make_shared<GeneratedRows>());
  form.Show();
  FormWindow* window = host->windows().find(form);
  ASSERT_NE(window, nullptr);
  settle();

  auto* view = widgetOf<QTableView>(*window, "grdStock");
  ASSERT_EQ(view->model()->rowCount(), kRows);
  EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("存货编码"));
  view->scrollToBottom();
  settle();
  const QModelIndex last = view->indexAt(QPoint(5, view->viewport()->height() - 5));
  ASSERT_TRUE(last.isValid());
  EXPECT_GT(last.row(), kRows - 40);
  EXPECT_EQ(view->model()->index(kRows - 1, 1).data().toString(),
            QStringLiteral("INV%1").arg(kRows));
  view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
  settle();
  const QModelIndex middle = view->indexAt(QPoint(5, 5));
  EXPECT_NEAR(middle.row(), kRows / 2, 200);
  EXPECT_EQ(middle.siblingAtColumn(3).data().toString(), QString::number((middle.row() + 1) * 2));

  // Hiding rows by height 0 (a filter of the form) and moving the current row far down.
  for (int r = 1; r <= kRows; r += 2) grid.setRowHeight(r, 0);
  grid.setRow(kRows);
  grid.setCol(1);
  settle();
  EXPECT_TRUE(view->isRowHidden(0));
  EXPECT_FALSE(view->isRowHidden(1));
  EXPECT_EQ(view->currentIndex().row(), kRows - 1);

  auto* list = widgetOf<QTableView>(*window, "vlStock");
  ASSERT_EQ(list->model()->rowCount(), kRows);
  list->scrollToBottom();
  settle();
  EXPECT_EQ(list->model()->index(kRows - 1, 1).data().toString(),
            QStringLiteral("INV%1").arg(kRows));

  // Shrinking the grid while the view still shows the old rows reads nothing that is gone.
  grid.setRows(3);
  EXPECT_FALSE(view->model()->index(kRows - 1, 1).data().isValid());
  settle();
  EXPECT_EQ(view->model()->rowCount(), 2);
  form.Unload();
  settle();
}

}  // namespace
}  // namespace quillon::ui::qt
