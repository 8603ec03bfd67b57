// The demo window on Qt's offscreen platform: an example run as the user chosen at the top fills
// the results pane with the call's values and its recordsets as tables; a file that is no account
// stops runs until a usable one is chosen.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <fstream>
#include <memory>

#include "classes/public_classes.h"
#include "demo/demo_window.h"
#include "support/class_registration.h"
#include "support/demo_account.h"
#include "support/scratch_dir.h"
#include "ui/qt/application.h"

namespace quillon::cli::demo {
namespace {

// The production-order dialog in outsourced mode, worked by the script's own dialog lines.
constexpr const char* kScript =
    "# An outsourced-issue voucher takes one order's product lines.\n"
    "# The second line of the comment.\n"
    "login user=demo date=2026-12-05\n"
    "new $po Quillon.ProduceOrder\n"
    "on frmProduceOrder\n"
    "  click cmdFilter\n"
    "  mark lstParent 1\n"
    "  click cmdOk\n"
    "end\n"
    "$ok = call $po.load \"\" $login $coll $err true\n";

class DemoWindowTest : public ::testing::Test {
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
    script_ = dir_.path() / "produce_order_oi.qhs";
    std::ofstream(script_) << kScript;
    window_ = std::make_unique<DemoWindow>(test_support::demoPath(),
                                           std::vector<std::filesystem::path>{script_});
  }

  template <class W>
  W* child(const char* name) {
    W* widget = window_->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  void chooseDatabase(const std::string& path) {
    auto* edit = child<QLineEdit>("database");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromStdString(path));
    QTest::keyClick(edit, Qt::Key_Return);
  }

  static std::unique_ptr<test_support::EnvGuard> platform_;
  static std::unique_ptr<ui::qt::QtApplication> application_;
  test_support::ScratchDir dir_;
  std::filesystem::path script_;
  std::unique_ptr<DemoWindow> window_;
};

std::unique_ptr<test_support::EnvGuard> DemoWindowTest::platform_;
std::unique_ptr<ui::qt::QtApplication> DemoWindowTest::application_;

TEST_F(DemoWindowTest, AScriptedRunFillsTheResultTablesAndRunsAsTheChosenUser) {
  // The script is offered by what it says it does, its file named on hovering.
  auto* scripts = child<QListWidget>("scripts");
  ASSERT_EQ(scripts->count(), 1);
  EXPECT_EQ(scripts->item(0)->text(),
            QStringLiteral("An outsourced-issue voucher takes one order's product lines."));
  EXPECT_TRUE(scripts->item(0)->toolTip().endsWith(QStringLiteral("produce_order_oi.qhs")));
  auto* user = child<QComboBox>("user");
  ASSERT_EQ(user->count(), 3);  // demo, clerk and the outsourcing clerk
  EXPECT_EQ(user->currentData().toString(), QStringLiteral("demo"));
  child<QPushButton>("scripted")->click();

  auto* calls = child<QListWidget>("calls");
  ASSERT_EQ(calls->count(), 1) << child<QLabel>("runStatus")->text().toStdString();
  EXPECT_EQ(calls->currentRow(), 0);
  auto* values = child<QTableWidget>("values");
  ASSERT_EQ(values->rowCount(), 3);
  EXPECT_EQ(values->item(0, 0)->text(), QStringLiteral("$ok"));
  EXPECT_EQ(values->item(0, 2)->text(), QStringLiteral("True"));
  EXPECT_EQ(values->item(2, 1)->text(), QStringLiteral("ErrMsg"));
  EXPECT_EQ(values->item(2, 2)->text(), QStringLiteral("\"\""));

  auto* tables = child<QTabWidget>("tables");
  ASSERT_EQ(tables->count(), 2);
  EXPECT_EQ(tables->tabText(0), QStringLiteral("$coll[\"Parent\"]（1 行）"));
  EXPECT_TRUE(tables->tabText(1).startsWith(QStringLiteral("$coll[\"Sub\"]")));
  auto* heads = qobject_cast<QTableView*>(tables->widget(0));
  ASSERT_NE(heads, nullptr);
  const QAbstractItemModel* model = heads->model();
  ASSERT_EQ(model->rowCount(), 1);
  int code = -1;
  for (int c = 0; c < model->columnCount(); ++c) {
    if (model->headerData(c, Qt::Horizontal).toString() == QStringLiteral("ccode")) code = c;
  }
  ASSERT_GE(code, 0);
  EXPECT_EQ(model->data(model->index(0, code)).toString(), QStringLiteral("MO26110003"));
  // The tables read as the dialogs' lists: dates in one form, amounts right-aligned with the
  // account's decimals.
  bool dateSeen = false;
  for (int c = 0; c < model->columnCount(); ++c) {
    if (model->headerData(c, Qt::Horizontal).toString() != QStringLiteral("ddate")) continue;
    EXPECT_EQ(model->data(model->index(0, c)).toString(), QStringLiteral("2026-11-15"));
    dateSeen = true;
  }
  EXPECT_TRUE(dateSeen);
  auto* lines = qobject_cast<QTableView*>(tables->widget(1));
  ASSERT_NE(lines, nullptr);
  bool quantitySeen = false;
  for (int c = 0; c < lines->model()->columnCount(); ++c) {
    if (lines->model()->headerData(c, Qt::Horizontal).toString() != QStringLiteral("fquantity")) {
      continue;
    }
    const QModelIndex cell = lines->model()->index(0, c);
    EXPECT_TRUE(lines->model()->data(cell).toString().endsWith(QStringLiteral(".00")));
    EXPECT_EQ(lines->model()->data(cell, Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    quantitySeen = true;
  }
  EXPECT_TRUE(quantitySeen);

  // The clerk may not take that order's products: OK is refused and nothing comes back.
  user->setCurrentIndex(user->findData(QStringLiteral("clerk")));
  child<QPushButton>("scripted")->click();
  EXPECT_TRUE(child<QPlainTextEdit>("transcript")
                  ->toPlainText()
                  .contains(QStringLiteral("$login = user clerk on account ")));
  ASSERT_EQ(values->rowCount(), 3);
  EXPECT_EQ(values->item(1, 2)->text(), QStringLiteral("Nothing"));
  EXPECT_EQ(tables->count(), 0);
}

TEST_F(DemoWindowTest, AFileThatIsNoAccountIsRefusedUntilAnotherIsChosen) {
  auto* scripted = child<QPushButton>("scripted");
  auto* message = child<QLabel>("accountMessage");
  EXPECT_TRUE(scripted->isEnabled());

  const std::string notes = (dir_.path() / "notes.txt").string();
  std::ofstream(notes) << "not an account\n";
  chooseDatabase(notes);
  EXPECT_FALSE(scripted->isEnabled());
  EXPECT_FALSE(message->isHidden());
  EXPECT_TRUE(
      message->text().startsWith(QString::fromStdString("文件[" + notes + "]不是账套数据库")))
      << message->text().toStdString();
  scripted->click();  // refused: nothing runs on a file that is no account
  EXPECT_EQ(child<QListWidget>("calls")->count(), 0);

  chooseDatabase(test_support::demoPath());
  EXPECT_TRUE(scripted->isEnabled());
  EXPECT_TRUE(message->isHidden());
  EXPECT_EQ(child<QComboBox>("user")->currentData().toString(), QStringLiteral("demo"));
}

TEST_F(DemoWindowTest, TheAccountCheckShowsWhatItFoundInTheTranscript) {
  auto* check = child<QPushButton>("checkAccount");
  auto* transcript = child<QPlainTextEdit>("transcript");
  ASSERT_TRUE(check->isEnabled());
  check->click();
  EXPECT_TRUE(transcript->toPlainText().contains(QStringLiteral("account checks passed")))
      << transcript->toPlainText().toStdString();
  auto* tabs = window_->findChild<QTabWidget*>();
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->currentWidget(), transcript);

  const std::string notes = (dir_.path() / "notes.txt").string();
  std::ofstream(notes) << "not an account\n";
  chooseDatabase(notes);
  EXPECT_FALSE(check->isEnabled());
}

}  // namespace
}  // namespace quillon::cli::demo
