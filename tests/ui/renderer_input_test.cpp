// What a person does on a drawn form reaches the form as its own events: keys through the key
// filter, clicks after the focus moved (or not, when a Validate keeps it), edits, checks, tabs,
// menus and toolbar buttons.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <algorithm>
#include <memory>

#include "automation/com_error.h"
#include "drawn_sample_form.h"
#include "ui/qt/cell_display.h"

namespace quillon::ui::qt {
namespace {

using forms::testing::frmSample;
using testing::AnsweringQtHost;
using testing::settle;
using testing::widgetOf;

bool contains(const std::vector<std::string>& log, const std::string& line) {
  return std::find(log.begin(), log.end(), line) != log.end();
}

class RendererInputTest : public testing::DrawnSampleForm {
 protected:
  QPoint centreOf(QTableView& view, int row, int col) {
    return view.visualRect(view.model()->index(row, col)).center();
  }
};

TEST_F(RendererInputTest, TypingGoesThroughTheKeyFilterIntoTheField) {
  auto* code = widgetOf<QLineEdit>(*window, "txtCode");
  ASSERT_EQ(form.ActiveControl(), &form.txtCode);
  QTest::keyClicks(code, "ab'c");
  // The form's key filter swallowed the quote (with a beep); Change ran per character.
  EXPECT_EQ(form.txtCode.Text(), "abc");
  EXPECT_EQ(code->text(), QStringLiteral("abc"));
  EXPECT_EQ(host->beeps, 1);
  EXPECT_TRUE(contains(form.log, "txtCode_Change:abc"));
  QTest::keyClick(code, Qt::Key_Left);
  QTest::keyClick(code, Qt::Key_Backspace);
  EXPECT_EQ(form.txtCode.Text(), "ac");
  EXPECT_EQ(code->cursorPosition(), 1);

  // Text an input method commits arrives as typed characters.
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("仓库"));
  QApplication::sendEvent(code, &commit);
  EXPECT_EQ(form.txtCode.Text(), "a仓库c");

  // F2 reaches the form's KeyDown; Tab moves the focus in the form's order.
  QTest::keyClick(code, Qt::Key_F2);
  EXPECT_TRUE(contains(form.log, "F2"));
  QTest::keyClick(code, Qt::Key_Tab);
  EXPECT_EQ(form.ActiveControl(), &form.txtDate);
  EXPECT_EQ(window->focusWidget(), widgetOf<QLineEdit>(*window, "txtDate"));

  // The numeric edit refuses what is not part of a number.
  form.edtQty.SetFocus();
  QTest::keyClicks(widgetOf<QLineEdit>(*window, "edtQty"), "1x2.505");
  EXPECT_EQ(form.edtQty.Text(), "12.50");
}

TEST_F(RendererInputTest, AcceleratorsEnterAndEscReachTheButtons) {
  auto* code = widgetOf<QLineEdit>(*window, "txtCode");
  host->answers.push_back(forms::vbCancel);
  QTest::keyClick(code, Qt::Key_O, Qt::AltModifier);
  EXPECT_TRUE(contains(form.log, "cmdOk_Click"));
  ASSERT_EQ(host->messages.size(), 1u);
  EXPECT_EQ(host->messages[0], "确定吗?");
  EXPECT_TRUE(form.Visible());  // answered Cancel

  QTest::keyClick(code, Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(form.chkAll.Value(), forms::vbChecked);
  EXPECT_EQ(widgetOf<QCheckBox>(*window, "chkAll")->checkState(), Qt::Checked);

  // Esc is the cancel button's: the form unloads and the window lets go of it.
  QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(contains(form.log, "cmdExit_Click"));
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(window->form(), nullptr);
}

TEST_F(RendererInputTest, AValidateThatKeepsTheFocusAlsoKeepsTheClick) {
  form.txtDate.SetFocus();
  form.txtDate.setText("2026-13-01");
  auto* more = widgetOf<QPushButton>(*window, "cmdMore");
  QTest::mouseClick(more, Qt::LeftButton);
  ASSERT_EQ(host->messages.size(), 1u);
  EXPECT_EQ(host->messages[0], "日期格式不正确，必须按格式YYYY-MM-DD输入");
  EXPECT_EQ(form.ActiveControl(), &form.txtDate);
  EXPECT_EQ(window->focusWidget(), widgetOf<QLineEdit>(*window, "txtDate"));
  EXPECT_EQ(form.childNote, "");

  // With a good date the click happens: the focus moves, then Click runs.
  form.txtDate.setText("2026-12-01");
  QTest::mouseClick(widgetOf<QCheckBox>(*window, "chkAll"), Qt::LeftButton);
  EXPECT_EQ(form.ActiveControl(), &form.chkAll);
  EXPECT_TRUE(contains(form.log, "chkAll_Click:1"));
  EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "txtDate_Validate"), 2);
}

TEST_F(RendererInputTest, ListsGridsAndVoucherListsTakeClicksChecksAndEdits) {
  // A list item's check box: ItemCheck runs, the row shows the check.
  auto* head = widgetOf<QTableView>(*window, "lstHead");
  head->model()->setData(head->model()->index(1, 0), Qt::Checked, Qt::CheckStateRole);
  EXPECT_TRUE(form.lstHead.item(2).Checked());
  EXPECT_TRUE(contains(form.log, "lstHead_ItemCheck:2k+"));
  QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, centreOf(*head, 2, 1));
  EXPECT_EQ(form.lstHead.SelectedItem(), &form.lstHead.item(3));
  EXPECT_EQ(form.ActiveControl(), &form.lstHead);

  // A right click raises MouseUp; the form pops its menu, the chosen item's Click runs.
  host->menuChoices.push_back("MnuClear");
  QTest::mouseClick(head->viewport(), Qt::RightButton, {}, centreOf(*head, 0, 0));
  EXPECT_TRUE(contains(form.log, "MnuClear_Click"));
  settle();
  EXPECT_FALSE(form.lstHead.item(2).Checked());
  EXPECT_EQ(head->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

  // Tabs go through the strip: Click hears the previous tab.
  auto* tabs = widgetOf<QWidget>(*window, "SSTab1")->findChild<QTabBar*>();
  tabs->setCurrentIndex(1);
  EXPECT_EQ(form.SSTab1.Tab(), 1);
  EXPECT_TRUE(contains(form.log, "SSTab1_Click:0"));
  settle();

  // Grid: a click makes the cell current and runs Click (this form toggles the mark there).
  auto* body = widgetOf<QTableView>(*window, "grdBody");
  ASSERT_TRUE(body->isVisible());
  QTest::mouseClick(body->viewport(), Qt::LeftButton, {}, centreOf(*body, 1, 2));
  EXPECT_EQ(form.grdBody.Row(), 2);
  EXPECT_EQ(form.grdBody.Col(), 2);
  EXPECT_EQ(form.grdBody.TextMatrix(0, 2), "Y");
  settle();
  // The mark cell keeps its "Y"; a person sees a check mark.
  EXPECT_EQ(body->model()->index(1, 0).data(Qt::EditRole).toString(), QStringLiteral("Y"));
  EXPECT_EQ(body->model()->index(1, 0).data().toString(), QString(QChar(kCheckMark)));

  // Editing a cell: CellChange may change the text or cancel it.
  auto edit = [&](int row, int col, const QString& text) {
    body->edit(body->model()->index(row, col));
    auto* editor = body->viewport()->findChild<QLineEdit*>();
    if (editor == nullptr) return false;
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    return true;
  };
  ASSERT_TRUE(edit(0, 2, QStringLiteral("1")));
  EXPECT_EQ(form.grdBody.TextMatrix(2, 1), "1.00");
  EXPECT_EQ(body->model()->index(0, 2).data().toString(), QStringLiteral("1.00"));
  ASSERT_TRUE(edit(0, 2, QStringLiteral("-1")));
  EXPECT_EQ(form.grdBody.TextMatrix(2, 1), "1.00");
  EXPECT_FALSE(edit(0, 1, QStringLiteral("X")));  // a locked column opens no editor
  EXPECT_EQ(form.grdBody.TextMatrix(1, 1), "I01");
  // Esc abandons an edit without CellChange.
  const auto changes = std::count_if(form.log.begin(), form.log.end(), [](const std::string& s) {
    return s.rfind("grdBody_CellChange", 0) == 0;
  });
  body->edit(body->model()->index(1, 2));
  auto* editor = body->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText(QStringLiteral("9"));
  QTest::keyClick(editor, Qt::Key_Escape);
  settle();
  EXPECT_FALSE(form.grdBody.pendingEdit().has_value());
  EXPECT_EQ(
      std::count_if(form.log.begin(), form.log.end(),
                    [](const std::string& s) { return s.rfind("grdBody_CellChange", 0) == 0; }),
      changes);

  // Voucher list: a click on the mark column marks the row, an edit goes through CellChange.
  tabs->setCurrentIndex(2);
  settle();
  auto* lines = widgetOf<QTableView>(*window, "vlLines");
  QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, centreOf(*lines, 1, 0));
  EXPECT_TRUE(form.vlLines.Marked(2));
  EXPECT_TRUE(contains(form.log, "vlLines_RowMarkChanged:2"));
  lines->model()->setData(lines->model()->index(0, 2), QStringLiteral("7"), Qt::EditRole);
  EXPECT_EQ(form.vlLines.TextMatrix(1, 2), "7.00");
  EXPECT_FALSE(lines->model()->flags(lines->model()->index(0, 1)) & Qt::ItemIsEditable);
}

TEST_F(RendererInputTest, CombosTreesToolbarsMenusAndTheCloseBox) {
  // Opening the list runs DropDown, which fills it; choosing runs Click.
  auto* combo = widgetOf<QComboBox>(*window, "cmbType");
  combo->showPopup();
  combo->hidePopup();
  settle();
  ASSERT_EQ(combo->count(), 3);
  Q_EMIT combo->activated(2);
  EXPECT_EQ(form.cmbType.Text(), "受托代销");
  EXPECT_TRUE(contains(form.log, "cmbType_Click:受托代销"));

  auto* tree = widgetOf<QTreeWidget>(*window, "treeInv");
  QTreeWidgetItem* raw = tree->topLevelItem(0)->child(0);
  raw->setCheckState(0, Qt::Checked);
  EXPECT_TRUE(form.treeInv.node("K01").Checked());
  EXPECT_TRUE(contains(form.log, "treeInv_NodeCheck:K01"));
  // The mouse release that checked the box reaches the widget as a click as well: no NodeClick.
  Q_EMIT tree->itemClicked(raw, 0);
  EXPECT_FALSE(contains(form.log, "treeInv_NodeClick:K01"));
  Q_EMIT tree->itemClicked(tree->topLevelItem(0), 0);
  EXPECT_TRUE(contains(form.log, "treeInv_NodeClick:mRoot"));
  settle();
  Q_EMIT tree->itemClicked(tree->topLevelItem(0)->child(0), 0);
  EXPECT_TRUE(contains(form.log, "treeInv_NodeClick:K01")) << "a later click on the node is one";

  // A drag over a frame that follows the mouse reaches it as MouseMove, in twips; a move without
  // a button held does not.
  std::vector<std::string> moves;
  form.Frame1.MouseMove = [&](int button, int, int x, int) {
    moves.push_back(std::to_string(button) + ":" + std::to_string(x));
  };
  auto* frame = widgetOf<QGroupBox>(*window, "Frame1");
  QMouseEvent drag(QEvent::MouseMove, QPointF(10, 5), frame->mapToGlobal(QPointF(10, 5)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame, &drag);
  QMouseEvent hover(QEvent::MouseMove, QPointF(20, 5), frame->mapToGlobal(QPointF(20, 5)),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(frame, &hover);
  EXPECT_EQ(moves, std::vector<std::string>{"1:150"});
  form.Frame1.MouseMove = nullptr;

  auto* bar = widgetOf<QToolBar>(*window, "CTBCtrl1");
  bar->actions()[1]->trigger();
  EXPECT_TRUE(contains(form.log, "toolbar:all"));
  EXPECT_EQ(form.tbrTool.button("all").value, 1);
  settle();
  EXPECT_TRUE(widgetOf<QToolBar>(*window, "CTBCtrl1")->actions()[1]->isChecked());

  auto* menuBar = window->findChild<QMenuBar*>();
  host->inputs.push_back("3");
  menuBar->actions()[0]->trigger();  // mnuLocal asks for a row with an input box
  EXPECT_EQ(form.sbr.panel(1).text, "第3条");

  // The window's size is the form's: a person's resize runs Form_Resize with twips.
  window->resize(700, 500);
  EXPECT_EQ(form.Width(), 700 * 15);

  // The close box runs the unload path; a refusal keeps the form and its window.
  form.unloadCancel = 1;
  window->close();
  EXPECT_TRUE(form.Loaded());
  EXPECT_EQ(window->form(), &form);
  form.unloadCancel = 0;
  window->close();
  EXPECT_FALSE(form.Loaded());
}

TEST_F(RendererInputTest, AnErrorInAnEventHandlerIsShownAndTheFormCarriesOn) {
  form.cmdMore.Click = [] { throw automation::ComError(5, "Invalid procedure call or argument"); };
  QTest::mouseClick(widgetOf<QPushButton>(*window, "cmdMore"), Qt::LeftButton);
  ASSERT_EQ(host->messages.size(), 1u);
  EXPECT_EQ(host->messages[0], "实时错误 '5':\r\n\r\nInvalid procedure call or argument");
  EXPECT_TRUE(form.Visible());
  QTest::mouseClick(widgetOf<QLineEdit>(*window, "txtCode"), Qt::LeftButton);
  EXPECT_EQ(form.ActiveControl(), &form.txtCode);
  QTest::keyClicks(widgetOf<QLineEdit>(*window, "txtCode"), "ok");
  EXPECT_EQ(form.txtCode.Text(), "ok");
}

TEST(RendererModalTest, AModalShowReturnsWhenAPersonClosesTheForm) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmSample form;
  QTimer::singleShot(0, [&] {
    FormWindow* window = host->windows().find(form);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isModal());
    QTest::keyClicks(window->focusWidget(), "A01");
    QTest::mouseClick(widgetOf<QPushButton>(*window, "cmdExit"), Qt::LeftButton);
  });
  form.Show(forms::vbModal);
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(form.txtCode.Text(), "A01");
  EXPECT_TRUE(contains(form.log, "cmdExit_Click"));
  settle();
}

}  // namespace
}  // namespace quillon::ui::qt
