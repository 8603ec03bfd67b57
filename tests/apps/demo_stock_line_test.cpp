// The demo window's "现存量参照" group on Qt's offscreen platform: its choices come from the chosen
// account, and AutoRefer on the first stocked line fills the results pane like any run.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <fstream>
#include <memory>

#include "classes/registration.h"
#include "demo/demo_window.h"
#include "support/class_registration.h"
#include "support/demo_account.h"
#include "support/scratch_dir.h"
#include "ui/qt/application.h"

namespace quillon::cli::demo {
namespace {

class DemoStockLineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test_support::registerClassesOnce(classes::registerAllClasses);
    platform_ = std::make_unique<test_support::EnvGuard>("QT_QPA_PLATFORM", "offscreen");
    application_ = std::make_unique<ui::qt::QtApplication>();
  }
  static void TearDownTestSuite() {
    application_.reset();
    platform_.reset();
  }

  void SetUp() override {
    window_ = std::make_unique<DemoWindow>(test_support::demoPath(),
                                           std::vector<std::filesystem::path>{});
  }

  template <class W>
  W* child(const char* name) {
    W* widget = window_->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  static std::unique_ptr<test_support::EnvGuard> platform_;
  static std::unique_ptr<ui::qt::QtApplication> application_;
  std::unique_ptr<DemoWindow> window_;
};

std::unique_ptr<test_support::EnvGuard> DemoStockLineTest::platform_;
std::unique_ptr<ui::qt::QtApplication> DemoStockLineTest::application_;

int column(const QAbstractItemModel& model, const QString& caption) {
  for (int c = 0; c < model.columnCount(); ++c) {
    if (model.headerData(c, Qt::Horizontal).toString() == caption) return c;
  }
  return -1;
}

TEST_F(DemoStockLineTest, AutoReferOnTheFirstLineFillsTheResultTable) {
  auto* warehouse = child<QComboBox>("stockWarehouse");
  auto* item = child<QComboBox>("stockItem");
  ASSERT_GT(warehouse->count(), 1);
  EXPECT_EQ(warehouse->currentData().toString(), QStringLiteral("01"));
  EXPECT_EQ(item->currentData().toString(), QStringLiteral("0101001"));
  EXPECT_EQ(item->currentText(), QStringLiteral("0101001  冷轧钢板"));
  EXPECT_EQ(child<QDoubleSpinBox>("stockQuantity")->value(), 10.0);
  EXPECT_FALSE(child<QCheckBox>("stockRed")->isChecked());

  child<QPushButton>("autoRefer")->click();
  EXPECT_TRUE(child<QPlainTextEdit>("transcript")
                  ->toPlainText()
                  .contains(QStringLiteral("call $r.AutoRefer $login \"01\" \"0101001\" - 10.0 ")));
  auto* tables = child<QTabWidget>("tables");
  ASSERT_EQ(tables->count(), 1) << child<QLabel>("runStatus")->text().toStdString();
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
}

TEST_F(DemoStockLineTest, ItemsFollowTheWarehouseAndNoAccountMeansNoRun) {
  auto* warehouse = child<QComboBox>("stockWarehouse");
  auto* item = child<QComboBox>("stockItem");
  warehouse->setCurrentIndex(warehouse->findData(QStringLiteral("02")));
  ASSERT_GT(item->count(), 0);
  for (int i = 0; i < item->count(); ++i) {
    EXPECT_NE(item->itemData(i).toString(), QStringLiteral("0101001"));
    // Only rows at zero or below: nothing to take there.
    EXPECT_NE(item->itemData(i).toString(), QStringLiteral("0102003"));
  }
  const QString chosen = item->itemData(item->count() - 1).toString();
  item->setCurrentIndex(item->count() - 1);

  test_support::ScratchDir dir;
  const std::string notes = (dir.path() / "notes.txt").string();
  std::ofstream(notes) << "not an account\n";
  auto* database = child<QLineEdit>("database");
  const auto choose = [&](const std::string& path) {
    database->setFocus();
    database->selectAll();
    QTest::keyClicks(database, QString::fromStdString(path));
    QTest::keyClick(database, Qt::Key_Return);
  };
  choose(notes);
  EXPECT_EQ(warehouse->count(), 0);
  EXPECT_FALSE(child<QPushButton>("refer")->isEnabled());
  EXPECT_FALSE(child<QPushButton>("autoRefer")->isEnabled());

  // Back on the account, the stock is read again and the line chosen before comes back.
  choose(test_support::demoPath());
  EXPECT_EQ(warehouse->currentData().toString(), QStringLiteral("02"));
  EXPECT_EQ(item->currentData().toString(), chosen);
  EXPECT_TRUE(child<QPushButton>("autoRefer")->isEnabled());
}

}  // namespace
}  // namespace quillon::cli::demo
