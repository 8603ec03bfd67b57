// A multi-line text box drawn as a plain-text editor: the box's text and selection show in it,
// and what a person types — Enter included — reaches the box through the form's key filter.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
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

class frmNote : public forms::Form {
 public:
  frmNote() : Form("frmNote", "备注", 6000, 4000) {
    txtMemo.setMultiLine(true);
    cmdOk.setDefault(true);
    txtMemo.KeyPress = [](int& keyAscii) {
      if (keyAscii == '\'') keyAscii = 0;
    };
    txtMemo.Validate = [this](bool& cancel) {
      cancel = txtMemo.Text().find("错") != std::string::npos;
    };
    cmdOk.Click = [this] { log.push_back("cmdOk_Click"); };
  }

  std::vector<std::string> log;
  forms::TextBox& txtCode = add<forms::TextBox>("txtCode", {120, 120, 2000, 300});
  forms::TextBox& txtMemo = add<forms::TextBox>("txtMemo", {120, 600, 5600, 2400});
  forms::CommandButton& cmdOk =
      add<forms::CommandButton>("cmdOk", {4600, 3300, 1100, 350}, "确定(&O)");
};

int okClicks(const frmNote& form) {
  return static_cast<int>(std::count(form.log.begin(), form.log.end(), "cmdOk_Click"));
}

TEST(MultiLineTextTest, TheEditorAndTheBoxStayInStepBothWays) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmNote form;
  form.Show();
  FormWindow* window = host->windows().find(form);
  ASSERT_NE(window, nullptr);
  settle();
  auto* memo = widgetOf<QPlainTextEdit>(*window, "txtMemo");
  ASSERT_NE(memo, nullptr);

  // The box's CR LF breaks show as lines; a selection across a break covers it as one step.
  form.txtMemo.setText("第一行\r\n第二行");
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("第一行\n第二行"));
  form.txtMemo.setSelStart(2);
  form.txtMemo.setSelLength(4);
  EXPECT_EQ(memo->textCursor().selectionStart(), 2);
  EXPECT_EQ(memo->textCursor().selectionEnd(), 5);
  form.txtMemo.setLocked(true);
  EXPECT_TRUE(memo->isReadOnly());
  form.txtMemo.setLocked(false);
  EXPECT_FALSE(memo->isReadOnly());
  form.txtMemo.setEnabled(false);
  EXPECT_FALSE(memo->isEnabled());
  form.txtMemo.setEnabled(true);

  // Typing goes through the key filter; Enter breaks the line instead of pressing the default
  // button, which Enter in the one-line field still does.
  form.txtMemo.SetFocus();
  form.txtMemo.setSelStart(100);
  QTest::keyClicks(memo, "a'b");
  QTest::keyClick(memo, Qt::Key_Return);
  QTest::keyClicks(memo, "c");
  EXPECT_EQ(form.txtMemo.Text(), "第一行\r\n第二行ab\r\nc");
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("第一行\n第二行ab\nc"));
  EXPECT_EQ(okClicks(form), 0);
  EXPECT_EQ(memo->textCursor().position(), memo->toPlainText().size());

  // Backspace and Left take a line break as one character.
  QTest::keyClick(memo, Qt::Key_Backspace);
  QTest::keyClick(memo, Qt::Key_Backspace);
  EXPECT_EQ(form.txtMemo.Text(), "第一行\r\n第二行ab");
  QTest::keyClick(memo, Qt::Key_Home);
  EXPECT_EQ(form.txtMemo.SelStart(), 5);  // the start of the caret's line
  QTest::keyClick(memo, Qt::Key_Left);
  EXPECT_EQ(form.txtMemo.SelStart(), 3);
  EXPECT_EQ(memo->textCursor().position(), 3);

  // Up and Down are the editor's; the box hears where the caret went.
  QTest::keyClick(memo, Qt::Key_Down);
  EXPECT_GT(form.txtMemo.SelStart(), 5);
  QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(memo, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(form.txtMemo.SelStart() + form.txtMemo.SelLength(), 10);
  EXPECT_EQ(form.txtMemo.SelText().substr(0, 2), "\r\n");
  EXPECT_EQ(memo->textCursor().selectionEnd(), memo->toPlainText().size());

  // A committed text keeps its line breaks, each one an Enter for the box.
  form.txtMemo.setSelStart(100);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("x\r\ny\nz"));
  QApplication::sendEvent(memo, &commit);
  EXPECT_EQ(form.txtMemo.Text(), "第一行\r\n第二行abx\r\ny\r\nz");
  EXPECT_EQ(okClicks(form), 0);

  // A click moves the focus through the form, and a Validate that refuses keeps it here.
  auto* code = widgetOf<QLineEdit>(*window, "txtCode");
  form.txtMemo.setText("错");
  QTest::mouseClick(code, Qt::LeftButton);
  EXPECT_EQ(form.ActiveControl(), &form.txtMemo);
  form.txtMemo.setText("对");
  QTest::mouseClick(code, Qt::LeftButton);
  EXPECT_EQ(form.ActiveControl(), &form.txtCode);
  QTest::keyClick(code, Qt::Key_Return);
  EXPECT_EQ(okClicks(form), 1);
  QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(form.ActiveControl(), &form.txtMemo);
  EXPECT_EQ(form.txtMemo.SelStart(), 0);

  form.Unload();
  settle();
}

}  // namespace
}  // namespace quillon::ui::qt
