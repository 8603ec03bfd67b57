// A report list filled item by item from a recordset shows its first screen drawn and adds the
// rest while the window is idle; anything that reads its items first adds every one left, and the
// items are exactly those a whole fill gives. The same holds of a recordset whose rows are still
// being read (opened for a drawn list): the items come as the rows do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTableView>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "forms/controls.h"
#include "forms/list_status.h"
#include "forms/row_growth.h"
#include "module/list_helpers.h"
#include "module/vouch_lists.h"
#include "qt_test_support.h"
#include "support/scratch_dir.h"

namespace quillon::ui::qt {
namespace {

using testing::AnsweringQtHost;
using testing::growToTheEnd;
using testing::settle;
using testing::widgetOf;

constexpr int kFillRows = 4096;  // two rows doubled eleven times
constexpr int kFillFirst = static_cast<int>(module::kShownListFirstRows);
constexpr const char* kQuery = "select id, code, kind as iProperty from t order by id desc";

class frmItems : public forms::Form {
 public:
  frmItems() : Form("frmItems", "存货", 12000, 7000) {}
  forms::ListView& lstRows = add<forms::ListView>("lstRows", {60, 60, 11800, 6000});
};

// What a list shows of its items, in order: key, text, sub-items and check.
std::vector<std::string> itemsOf(const forms::ListView& list) {
  std::vector<std::string> out;
  for (int i = 1; i <= list.itemCount(); ++i) {
    const forms::ListItem& item = list.item(i);
    std::string row = item.Key() + "|" + item.Text();
    for (int s = 1; s < list.columnCount(); ++s) row += "|" + item.SubItems(s);
    out.push_back(row + (item.Checked() ? "|x" : "|"));
  }
  return out;
}

class ListViewGrowth : public ::testing::Test {
 protected:
  void SetUp() override {
    connection = std::make_shared<ado::Connection>();
    connection->open("Provider=Quillon.SQLite;Data Source=" + (dir / "items.db").string());
    auto& db = connection->database();
    db.execute("create table t (id int not null primary key, code varchar(20), kind int)");
    db.execute("insert into t values (1, '  A ', 1), (2, 'B', 2)");
    for (int n = 2; n < kFillRows; n *= 2) {
      db.execute("insert into t select id + " + std::to_string(n) + ", code || id, kind from t " +
                 "where id <= " + std::to_string(n));
    }
    // The items a fill gives where lists never grow (no drawn host yet).
    forms::ListView whole("lstWhole");
    module::FillList(whole, rows().get(), true);
    expected = itemsOf(whole);
  }

  std::shared_ptr<ado::Recordset> rows() {
    auto rs = std::make_shared<ado::Recordset>();
    rs->open(kQuery, connection);
    return rs;
  }
  // The same rows opened as a drawn dialog opens its list's: the first screen read, the rest
  // still to be read.
  std::shared_ptr<ado::Recordset> loading() {
    auto rs = std::make_shared<ado::Recordset>();
    rs->openProgressive(kQuery, connection, module::kShownListFirstRows);
    return rs;
  }
  std::shared_ptr<ado::Recordset> opened(bool stillLoading) {
    return stillLoading ? loading() : rows();
  }

  // Shows the form drawn, then fills its list as a click would.
  FormWindow* showFilled(AnsweringQtHost& host, frmItems& form) {
    form.Show();
    FormWindow* window = host.windows().find(form);
    if (window == nullptr) return nullptr;
    settle();
    module::FillList(form.lstRows, rows().get(), true);
    return window;
  }

  test_support::ScratchDir dir;
  std::shared_ptr<ado::Connection> connection;
  std::vector<std::string> expected;
};

TEST_F(ListViewGrowth, ADrawnListShowsItsFirstScreenThenGrowsToExactlyTheWholeFill) {
  ASSERT_EQ(static_cast<int>(expected.size()), kFillRows);
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmItems form;
  FormWindow* window = showFilled(*host, form);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(form.lstRows.filling());
  EXPECT_EQ(form.lstRows.shownItemCount(), kFillFirst);
  EXPECT_EQ(form.lstRows.statusText(), forms::RowsStatus(kFillFirst, kFillFirst));
  // An item among those added is read without adding more.
  EXPECT_EQ(form.lstRows.item(kFillFirst).Key(), std::to_string(kFillFirst) + "k");
  EXPECT_TRUE(form.lstRows.filling());

  auto* view = widgetOf<QTableView>(*window, "lstRows");
  ASSERT_TRUE(growToTheEnd(*view));
  settle();
  EXPECT_FALSE(form.lstRows.filling());
  EXPECT_EQ(view->model()->rowCount(), kFillRows);
  EXPECT_EQ(view->model()->index(kFillRows - 1, 0).data().toString(), "1");
  EXPECT_EQ(itemsOf(form.lstRows), expected);
  form.Unload();
}

TEST_F(ListViewGrowth, AListOfRowsStillLoadingAddsThemAsTheyAreReadAndEndsPastTheLastRecord) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmItems form;
  form.Show();
  FormWindow* window = host->windows().find(form);
  ASSERT_NE(window, nullptr);
  settle();
  forms::ListView& list = form.lstRows;
  auto* view = widgetOf<QTableView>(*window, "lstRows");

  auto rs = loading();
  module::FillList(list, rs.get(), true);
  ASSERT_TRUE(list.filling());
  // The headers come from the rows read so far; the status line counts the items added.
  EXPECT_EQ(list.columnCount(), 3);
  EXPECT_EQ(list.column(3).text, "iProperty");
  EXPECT_EQ(list.shownItemCount(), kFillFirst);
  EXPECT_EQ(list.statusText(), forms::RowsStatus(kFillFirst, kFillFirst));
  EXPECT_EQ(list.item(kFillFirst).Key(), std::to_string(kFillFirst) + "k");
  EXPECT_TRUE(list.filling());

  ASSERT_TRUE(growToTheEnd(*view));
  settle();
  EXPECT_FALSE(list.filling());
  EXPECT_EQ(view->model()->rowCount(), kFillRows);
  EXPECT_EQ(list.statusText(), forms::RowsStatus(kFillRows, kFillRows));
  EXPECT_EQ(itemsOf(list), expected);
  // The fill leaves the cursor past the last record, as a whole one does.
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->recordCount(), kFillRows);

  // A recordset read whole by its own use while its list fills: the list still gets every row,
  // and the cursor is moved once the last item is added, not before.
  auto used = loading();
  module::FillList(list, used.get(), false);
  ASSERT_TRUE(list.filling());
  EXPECT_EQ(used->recordCount(), kFillRows);
  EXPECT_FALSE(used->eof());
  EXPECT_TRUE(list.filling());
  EXPECT_EQ(list.itemCount(), kFillRows);
  EXPECT_TRUE(used->eof());
  form.Unload();
}

TEST_F(ListViewGrowth, EveryReadingOfTheItemsFirstAddsThemAll) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmItems form;
  FormWindow* window = showFilled(*host, form);
  ASSERT_NE(window, nullptr);
  forms::ListView& list = form.lstRows;
  ASSERT_TRUE(list.filling());

  const std::vector<std::pair<std::string, std::function<void()>>> readers = {
      {"count", [&] { EXPECT_EQ(list.itemCount(), kFillRows); }},
      {"an item past those added", [&] { EXPECT_EQ(list.item(kFillRows).Text(), "1"); }},
      {"a key past those added",
       [&] { EXPECT_NE(list.itemByKey(std::to_string(kFillRows) + "k"), nullptr); }},
      {"a sort click", [&] { EXPECT_TRUE(list.userSortColumn(1)); }},
      {"a check every row", [&] { list.uncheckAll(); }},
      {"a person's action (OK)", [&] { EXPECT_TRUE(window->invoke([] {})); }},
  };
  for (const bool stillLoading : {false, true}) {
    for (const auto& [what, read] : readers) {
      SCOPED_TRACE(what + (stillLoading ? " (rows still loading)" : ""));
      // The recordset goes with the fill's own call, as a dialog's next query replaces it.
      module::FillList(list, opened(stillLoading).get(), true);
      ASSERT_TRUE(list.filling());
      EXPECT_EQ(list.shownItemCount(), kFillFirst);
      read();
      EXPECT_FALSE(list.filling());
      EXPECT_FALSE(forms::anyGrowing());
      EXPECT_EQ(list.shownItemCount(), kFillRows);
    }
  }
  // The sort ran on every item: the first row in order is the smallest id.
  module::FillList(list, rows().get(), true);
  list.sortRows(1, false);
  EXPECT_EQ(list.item(list.rowOrder().rowAt(1)).Text(), "1");
  list.clearItems();

  // After a whole read the items are those of the whole fill.
  module::FillList(list, rows().get(), true);
  EXPECT_EQ(itemsOf(list), expected);
  settle();
  EXPECT_EQ(widgetOf<QTableView>(*window, "lstRows")->model()->rowCount(), kFillRows);
  form.Unload();
}

TEST_F(ListViewGrowth, AListClearedOrClosedWhileItGrowsStopsGrowing) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  auto form = std::make_unique<frmItems>();
  FormWindow* window = showFilled(*host, *form);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(forms::anyGrowing());
  form->lstRows.clearItems();
  EXPECT_FALSE(forms::anyGrowing());
  settle();
  EXPECT_EQ(form->lstRows.itemCount(), 0);
  EXPECT_EQ(widgetOf<QTableView>(*window, "lstRows")->model()->rowCount(), 0);

  module::FillList(form->lstRows, rows().get(), true);
  ASSERT_TRUE(forms::anyGrowing());
  form->Unload();
  form.reset();
  EXPECT_FALSE(forms::anyGrowing());
  settle();  // the idle slice scheduled for it finds nothing to grow

  // Of rows still loading, the recordset keeps its own rows and the connection its statements.
  form = std::make_unique<frmItems>();
  ASSERT_NE(showFilled(*host, *form), nullptr);
  auto rs = loading();
  module::FillList(form->lstRows, rs.get(), true);
  ASSERT_TRUE(forms::anyGrowing());
  form->lstRows.clearItems();
  EXPECT_FALSE(forms::anyGrowing());
  EXPECT_EQ(connection->execute("select count(*) from t")->value(std::size_t{0}).toLong(),
            kFillRows);
  EXPECT_EQ(rs->recordCount(), kFillRows);
  EXPECT_FALSE(rs->eof());  // a fill that never ended leaves the cursor where it was
  module::FillList(form->lstRows, loading().get(), true);
  ASSERT_TRUE(forms::anyGrowing());
  form->Unload();
  form.reset();
  EXPECT_FALSE(forms::anyGrowing());
  settle();
}

TEST_F(ListViewGrowth, AnErrorWhileAddingEndsTheFillAndReachesTheReader) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  forms::ListView list("lstRows");
  list.addColumn("n");
  list.fillItems(1000, 10, [&](int row) {
    if (row == 500) throw std::runtime_error("row 500");
    list.addItem(std::to_string(row));
  });
  ASSERT_TRUE(list.filling());
  EXPECT_EQ(list.shownItemCount(), 10);
  EXPECT_THROW(list.itemCount(), std::runtime_error);
  EXPECT_FALSE(list.filling());
  EXPECT_FALSE(forms::anyGrowing());
  EXPECT_EQ(list.itemCount(), 500);
}

}  // namespace
}  // namespace quillon::ui::qt
