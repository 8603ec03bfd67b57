// The demo window's "现存量参照" group on Qt's offscreen platform: its choices come from the chosen
// account, and AutoRefer on the first stocked line fills the results pane like any run.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <fstream>

#include "classes/public_classes.h"
#include "demo/demo_window.h"
#include "support/class_registration.h"
#include "support/demo_account.h"
#include "support/scratch_dir.h"
#include "ui/qt/application.h"

namespace quillon::cli::demo {
namespace {

template <class W>
W* child(QWidget& window, const char* name) {
  W* widget = window.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

int column(const QAbstractItemModel& model, const QString& caption) {
  for (int c = 0; c < model.columnCount(); ++c) {
    if (model.headerData(c, Qt::Horizontal).toString() == caption) return c;
  }
  return -1;
}

TEST(DemoStockLine, AutoReferFillsTheResultTableAndTheLinesFollowTheAccount) {
  test_support::registerClassesOnce(classes::registerAllClasses);
  const test_support::EnvGuard platform("QT_QPA_PLATFORM", "offscreen");
  const ui::qt::QtApplication application;
  DemoWindow window(test_support::demoPath(), {});
  auto* warehouse = child<QComboBox>(window, "stockWarehouse");
  auto* item = child<QComboBox>(window, "stockItem");
  auto* autoRefer = child<QPushButton>(window, "autoRefer");
  ASSERT_GT(warehouse->count(), 1);
  EXPECT_EQ(warehouse->currentData().toString(), QStringLiteral("01"));
  EXPECT_EQ(item->currentText(), QStringLiteral("0101001  冷轧钢板"));

  autoRefer->click();
  EXPECT_TRUE(child<QPlainTextEdit>(window, "transcript")
                  ->toPlainText()
                  .contains(QStringLiteral("call $r.AutoRefer $login \"01\" \"0101001\" - 10.0 ")));
  auto* tables = child<QTabWidget>(window, "tables");
  ASSERT_EQ(tables->count(), 1) << child<QLabel>(window, "runStatus")->text().toStdString();
  EXPECT_EQ(tables->tabText(0), QStringLiteral("$data（1 行）"));
  auto* view = qobject_cast<QTableView*>(tables->widget(0));
  ASSERT_NE(view, nullptr);
  const QAbstractItemModel& model = *view->model();
  const int taken = column(model, QStringLiteral("出库数量"));
  const int stockRow = column(model, QStringLiteral("AutoID"));
  ASSERT_GE(taken, 0);
  ASSERT_GE(stockRow, 0);
  EXPECT_EQ(model.data(model.index(0, taken)).toDouble(), 10.0);
  EXPECT_EQ(model.data(model.index(0, stockRow)).toInt(), 1);  // the oldest batch goes first

  // Another warehouse lists its own items, none whose rows are all at zero or below.
  warehouse->setCurrentIndex(warehouse->findData(QStringLiteral("02")));
  ASSERT_GT(item->count(), 0);
  EXPECT_LT(item->findData(QStringLiteral("0101001")), 0);
  EXPECT_LT(item->findData(QStringLiteral("0102003")), 0);
  item->setCurrentIndex(item->count() - 1);
  const QString chosen = item->currentData().toString();

  // A file that is no account empties the lines; back on the account, the chosen line returns.
  test_support::ScratchDir dir;
  const std::string notes = (dir.path() / "notes.txt").string();
  std::ofstream(notes) << "not an account\n";
  auto* database = child<QLineEdit>(window, "database");
  const auto choose = [database](const std::string& path) {
    database->setFocus();
    database->selectAll();
    QTest::keyClicks(database, QString::fromStdString(path));
    QTest::keyClick(database, Qt::Key_Return);
  };
  choose(notes);
  EXPECT_EQ(warehouse->count(), 0);
  EXPECT_FALSE(autoRefer->isEnabled());
  EXPECT_FALSE(child<QPushButton>(window, "refer")->isEnabled());
  choose(test_support::demoPath());
  EXPECT_EQ(warehouse->currentData().toString(), QStringLiteral("02"));
  EXPECT_EQ(item->currentData().toString(), chosen);
  EXPECT_TRUE(autoRefer->isEnabled());
}

}  // namespace
}  // namespace quillon::cli::demo
