// Lists bound to a recordset whose rows are still loading are drawn with the rows read so far and
// grow to all of them while the window has nothing else to do, keeping the current row, the marks
// and the scroll position; anything a person does first loads them whole.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <memory>
#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "forms/controls.h"
#include "forms/recordset_rows.h"
#include "forms/row_growth.h"
#include "qt_test_support.h"
#include "support/scratch_dir.h"
#include "ui/qt/grid_models.h"

namespace quillon::ui::qt {
namespace {

using testing::AnsweringQtHost;
using testing::growToTheEnd;
using testing::settle;
using testing::widgetOf;

constexpr int kGrowRows = 8192;  // two rows doubled twelve times
constexpr std::size_t kGrowFirstRows = 100;

class frmGrow : public forms::Form {
 public:
  frmGrow() : Form("frmGrow", "明细", 12000, 7000) {}
  forms::MarlinVouchList& vlRows = add<forms::MarlinVouchList>("vlRows", {60, 60, 11800, 3300});
  forms::MsSuperGrid& grdRows = add<forms::MsSuperGrid>("grdRows", {60, 3500, 11800, 3300});
};

class ListGrowth : public ::testing::Test {
 protected:
  void SetUp() override {
    auto cn = connect();
    cn->database().execute("create table t (id int not null primary key, code varchar(20))");
    cn->database().execute("insert into t values (1, 'A'), (2, 'B')");
    for (int n = 2; n < kGrowRows; n *= 2) {
      cn->database().execute("insert into t select id + " + std::to_string(n) +
                             ", code from t where id <= " + std::to_string(n));
    }
  }

  std::shared_ptr<ado::Connection> connect() {
    auto cn = std::make_shared<ado::Connection>();
    cn->open("Provider=Quillon.SQLite;Data Source=" + (dir / "rows.db").string());
    return cn;
  }
  // Every list's recordset on a connection of its own: a connection reads one at a time.
  std::shared_ptr<forms::RecordsetRows> loading() {
    auto rs = std::make_shared<ado::Recordset>();
    rs->openProgressive("select id, code from t order by id", connect(), kGrowFirstRows);
    recordsets.push_back(rs);
    return std::make_shared<forms::RecordsetRows>(ado::RecordsetView::growing(*rs));
  }
  // Shows the form drawn and binds both lists while it is shown, as a filter's click does.
  FormWindow* showBound(AnsweringQtHost& host, frmGrow& form) {
    form.Show();
    FormWindow* window = host.windows().find(form);
    if (window == nullptr) return nullptr;
    settle();
    bindBoth(form);
    return window;
  }
  void bindBoth(frmGrow& form) {
    form.vlRows.setColumnDefinitions("id,编号,900;code,编码,1200");
    form.vlRows.bind(loading());
    auto rows = loading();
    form.grdRows.setCols(3);
    form.grdRows.setTextMatrix(1, 0, "id");
    form.grdRows.setTextMatrix(2, 0, "code");
    const int count = rows->rowCount();
    form.grdRows.bindRows(std::move(rows), count);
  }

  test_support::ScratchDir dir;
  std::vector<std::shared_ptr<ado::Recordset>> recordsets;
};

TEST_F(ListGrowth, ADrawnListGrowsToEveryRowKeepingItsCurrentRowMarksAndScrollPosition) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmGrow form;
  FormWindow* window = showBound(*host, form);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(form.vlRows.growing());
  ASSERT_TRUE(form.grdRows.growing());
  EXPECT_EQ(form.vlRows.shownRows(), static_cast<int>(kGrowFirstRows) + 1);
  form.vlRows.setRow(3);
  form.vlRows.setMarked(2, true);
  auto* view = widgetOf<QTableView>(*window, "vlRows");
  auto* grid = widgetOf<QTableView>(*window, "grdRows");
  // The models take the bound rows now, without the event loop (which would grow them too).
  for (QTableView* table : {view, grid})
    dynamic_cast<ControlTableModel&>(*table->model()).refreshNow();
  ASSERT_EQ(view->model()->rowCount(), static_cast<int>(kGrowFirstRows));
  view->scrollTo(view->model()->index(60, 1), QAbstractItemView::PositionAtTop);
  ASSERT_LT(view->model()->rowCount(), kGrowRows);
  const int scrolled = view->verticalScrollBar()->value();
  EXPECT_GT(scrolled, 0);

  // The idle slices add rows until every one is there; the models only ever grow.
  EXPECT_LT(view->model()->rowCount(), kGrowRows);
  ASSERT_TRUE(growToTheEnd(*view));
  settle();
  EXPECT_FALSE(forms::anyGrowing());
  EXPECT_EQ(view->model()->rowCount(), kGrowRows);
  EXPECT_EQ(grid->model()->rowCount(), kGrowRows);
  EXPECT_EQ(form.vlRows.Rows(), kGrowRows + 1);
  EXPECT_EQ(view->model()->index(kGrowRows - 1, 1).data().toString(), QString::number(kGrowRows));
  EXPECT_EQ(form.grdRows.TextMatrix(1, kGrowRows), std::to_string(kGrowRows));
  EXPECT_EQ(form.vlRows.Row(), 3);
  EXPECT_EQ(view->currentIndex().row(), 2);
  EXPECT_TRUE(form.vlRows.Marked(2));
  EXPECT_EQ(form.vlRows.markedCount(), 1);
  EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
  form.Unload();
}

TEST_F(ListGrowth, WhatAPersonDoesAndWhatCodeReadsSeesEveryRow) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmGrow form;
  FormWindow* window = showBound(*host, form);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(forms::anyGrowing());
  // A person's action reaches the form only after every list is whole.
  int seen = 0;
  EXPECT_TRUE(window->invoke([&] { seen = form.grdRows.shownRows(); }));
  EXPECT_EQ(seen, kGrowRows + 1);
  EXPECT_FALSE(forms::anyGrowing());

  // The form's own code asking for the rows loads them too, as does a row past those read.
  bindBoth(form);
  ASSERT_TRUE(form.vlRows.growing());
  EXPECT_EQ(form.vlRows.Rows(), kGrowRows + 1);
  EXPECT_FALSE(form.vlRows.growing());
  ASSERT_TRUE(form.grdRows.growing());
  EXPECT_EQ(form.grdRows.TextMatrix(2, kGrowRows), "B");
  EXPECT_FALSE(forms::anyGrowing());
  settle();
  EXPECT_EQ(widgetOf<QTableView>(*window, "grdRows")->model()->rowCount(), kGrowRows);
  form.Unload();
}

TEST_F(ListGrowth, HeadlessHostsNeverLoadListsInSteps) {
  EXPECT_FALSE(forms::listsGrowWhileShown());
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  EXPECT_TRUE(forms::listsGrowWhileShown());
}

}  // namespace
}  // namespace quillon::ui::qt
