// The Qt UI host's own dialogs, answered the way a person would: by the buttons and keys of the
// dialog that comes up.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "qt_test_support.h"
#include "sample_form.h"
#include "ui/qt/dialogs.h"

namespace quillon::ui::qt {
namespace {

using forms::testing::TableSource;

// Runs `act` on the modal dialog once it is up.
void whenModal(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog came up";
      return;
    }
    act(*dialog);
  });
}

QPushButton* buttonCaptioned(QWidget& dialog, const QString& text) {
  for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
    if (b->text() == text) return b;
  }
  return nullptr;
}

TEST(DialogsTest, MessageBoxesShowTitleButtonsIconAndDefaultAndAnswerByButton) {
  QtUiHost host;
  whenModal([](QWidget& dialog) {
    auto& box = dynamic_cast<QMessageBox&>(dialog);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("系统提示"));
    EXPECT_EQ(box.text(), QStringLiteral("第一行\n第二行"));
    EXPECT_EQ(box.icon(), QMessageBox::Question);
    ASSERT_EQ(box.buttons().size(), 3);
    EXPECT_EQ(box.defaultButton()->text(), QStringLiteral("否(&N)"));
    buttonCaptioned(box, QStringLiteral("是(&Y)"))->click();
  });
  EXPECT_EQ(host.messageBox(forms::MessageBoxRequest::fromFlags(
                "第一行\r\n第二行",
                forms::vbYesNoCancel + forms::vbQuestion + forms::vbDefaultButton2, "系统提示")),
            forms::vbYes);

  // Esc answers Cancel where there is one; a box with one button answers with it.
  whenModal([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_EQ(host.messageBox(forms::MessageBoxRequest::fromFlags("?", forms::vbOKCancel, "")),
            forms::vbCancel);
  whenModal([](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quillon"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  EXPECT_EQ(host.messageBox(forms::MessageBoxRequest::fromFlags("!", forms::vbCritical, "")),
            forms::vbOK);
}

TEST(DialogsTest, InputBoxAndCalendarGiveWhatWasEnteredOrNothing) {
  QtUiHost host;
  whenModal([](QWidget& dialog) {
    auto* edit = dialog.findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    edit->setText(QStringLiteral("25"));
    buttonCaptioned(dialog, QStringLiteral("确定"))->click();
  });
  EXPECT_EQ(host.inputBox({"行数：", "定位行数", "1"}), std::optional<std::string>("25"));
  whenModal([](QWidget& dialog) { buttonCaptioned(dialog, QStringLiteral("取消"))->click(); });
  EXPECT_EQ(host.inputBox({"行数：", "定位行数", ""}), std::nullopt);

  whenModal([](QWidget& dialog) { buttonCaptioned(dialog, QStringLiteral("确定"))->click(); });
  const auto date = host.calendar({"日期", forms::parseIsoDate("2026-02-28")});
  ASSERT_TRUE(date.has_value());
  EXPECT_EQ(forms::formatIsoDate(*date), "2026-02-28");
}

TEST(DialogsTest, LookupListFiltersAndAnswersRowsOfTheCallersResult) {
  QtUiHost host;
  TableSource rows({"cVenCode", "cVenName"},
                   {{"V01", "北方钢材"}, {"V02", "南方木业"}, {"V03", "北方木业"}});
  forms::LookupRequest request;
  request.title = "供应商";
  request.multiSelect = true;
  request.rows = &rows;
  whenModal([](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("供应商"));
    auto* table = dialog.findChild<QTableView*>(QStringLiteral("rows"));
    ASSERT_EQ(table->model()->rowCount(), 3);
    dialog.findChild<QLineEdit*>(QStringLiteral("filter"))->setText(QStringLiteral("木业"));
    ASSERT_EQ(table->model()->rowCount(), 2);
    table->selectAll();
    buttonCaptioned(dialog, QStringLiteral("确定"))->click();
  });
  EXPECT_EQ(host.lookupList(request), (std::optional<std::vector<int>>{{2, 3}}));

  request.multiSelect = false;
  whenModal([](QWidget& dialog) {
    auto* table = dialog.findChild<QTableView*>(QStringLiteral("rows"));
    table->selectRow(2);
    Q_EMIT table->doubleClicked(table->model()->index(2, 0));
  });
  EXPECT_EQ(host.lookupList(request), (std::optional<std::vector<int>>{{3}}));
  whenModal([](QWidget& dialog) { buttonCaptioned(dialog, QStringLiteral("取消"))->click(); });
  EXPECT_EQ(host.lookupList(request), std::nullopt);
}

TEST(DialogsTest, ColumnSettingsHideRenameAndReorderColumns) {
  QtUiHost host;
  whenModal([](QWidget& dialog) {
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("columns"));
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(2, 0)->checkState(), Qt::Unchecked);  // width 0: hidden
    table->item(0, 0)->setCheckState(Qt::Unchecked);
    table->item(2, 0)->setCheckState(Qt::Checked);
    table->item(1, 2)->setText(QStringLiteral("数量,本次"));
    table->setCurrentCell(1, 2);
    buttonCaptioned(dialog, QStringLiteral("上移"))->click();
    buttonCaptioned(dialog, QStringLiteral("确定"))->click();
  });
  const auto text = host.columnSettings(
      {"栏目设置", "cInvCode,存货编码,1200;iQuantity,数量,900,#,##0.00;cFree1,自由项,0"});
  EXPECT_EQ(text, std::optional<std::string>(
                      "iQuantity,数量本次,900,#,##0.00;cInvCode,存货编码,0;cFree1,自由项,1000"));

  // A definition text that cannot be read is refused with its reason, and nothing is edited.
  whenModal([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_EQ(host.columnSettings({"栏目设置", "only-a-key"}), std::nullopt);
}

TEST(DialogsTest, FilterDialogGivesTheConditionWhenConfirmed) {
  QtUiHost host;
  whenModal([](QWidget& dialog) {
    auto* condition = dialog.findChild<QWidget*>(QStringLiteral("condition"));
    ASSERT_NE(condition, nullptr);
    QTest::keyClicks(condition, "cWhCode = '01'");
    buttonCaptioned(dialog, QStringLiteral("确定"))->click();
  });
  const forms::FilterResult result = host.filterDialog({"货位过滤", "ST", {}});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.where, "cWhCode = '01'");
  whenModal([](QWidget& dialog) { buttonCaptioned(dialog, QStringLiteral("取消"))->click(); });
  EXPECT_EQ(host.filterDialog({"货位过滤", "ST", {}}).code, 0);
}

TEST(DialogsTest, FilterDialogShowsOneLabelledFieldPerConditionAndGivesTheValues) {
  QtUiHost host;
  const forms::FilterRequest request{"批次货位",
                                     "ST",
                                     {{"cWhCode", "仓库", "text", "=", false},
                                      {"cPosCode", "货位", "text", "like", false},
                                      {"cInvCode", "存货编码", "text", "=", true},
                                      {"cBatch", "批号", "text", "like", false},
                                      {"iQuantity", "结存数量", "number", ">", false}}};
  QStringList captions;
  whenModal([&](QWidget& dialog) {
    for (auto* label : dialog.findChildren<QLabel*>()) captions << label->text();
    auto edit = [&](const char* name) {
      auto* found = dialog.findChild<QLineEdit*>(QString::fromUtf8(name));
      EXPECT_NE(found, nullptr) << name;
      return found;
    };
    QTest::keyClicks(edit("field.cWhCode"), "01");
    QTest::keyClicks(edit("field.cInvCode.from"), "0101");
    QTest::keyClicks(edit("field.cInvCode.to"), "0199");
    QTest::keyClicks(edit("field.iQuantity"), "5");
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("field.cInvCode")), nullptr)
        << "a range has two fields, no single one";
    QTest::keyClicks(dialog.findChild<QWidget*>(QStringLiteral("condition")), "iNum > 0");
    buttonCaptioned(dialog, QStringLiteral("确定"))->click();
  });
  const forms::FilterResult result = host.filterDialog(request);
  for (const char* caption :
       {"仓库：", "货位：", "存货编码：", "批号：", "结存数量：", "从", "到", "其他条件："}) {
    EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
  }
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.where, "iNum > 0");
  ASSERT_EQ(result.values.size(), 5u);
  EXPECT_EQ(result.values[0].from, "01");
  EXPECT_EQ(result.values[1].from, "");
  EXPECT_EQ(result.values[2].from, "0101");
  EXPECT_EQ(result.values[2].to, "0199");
  EXPECT_EQ(result.values[4].from, "5");
}

}  // namespace
}  // namespace quillon::ui::qt
