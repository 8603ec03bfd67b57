// The renderer draws a form from its declaration and follows every change the form makes to its
// controls, for each kind of control.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>
#include <memory>

#include "drawn_sample_form.h"
#include "ui/qt/cell_display.h"

namespace quillon::ui::qt {
namespace {

using forms::testing::frmSample;
using testing::AnsweringQtHost;
using testing::settle;
using testing::widgetOf;

class RendererSyncTest : public testing::DrawnSampleForm {};

TEST_F(RendererSyncTest, EveryControlIsDrawnAtItsGeometryWithItsCaption) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("样例"));
  EXPECT_EQ(window->clientArea()->size(), QSize(9000 / 15, 6000 / 15));

  auto* frame = widgetOf<QGroupBox>(*window, "Frame1");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->title(), QStringLiteral("过滤条件"));
  EXPECT_EQ(frame->geometry(), QRect(60 / 15, 60 / 15, 8800 / 15, 1200 / 15));

  // Inside a frame, positions are the frame's own.
  auto* code = widgetOf<QLineEdit>(*window, "txtCode");
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code->parentWidget(), frame);
  EXPECT_EQ(code->geometry(), QRect(1000 / 15, 300 / 15, 1600 / 15, 300 / 15));
  EXPECT_EQ(widgetOf<QLabel>(*window, "lblCode")->text(), QStringLiteral("单据号(C)"));

  auto* ok = widgetOf<QPushButton>(*window, "cmdOk");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), QStringLiteral("确定(&O)"));
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(ok->geometry(), QRect(6400 / 15, 5100 / 15, 1100 / 15, 350 / 15));
  EXPECT_EQ(widgetOf<QCheckBox>(*window, "chkAll")->text(), QStringLiteral("全选(&A)"));
  EXPECT_EQ(widgetOf<QRadioButton>(*window, "optB")->text(), QStringLiteral("到货单"));

  // The lists lie on the tab strip's pages; only the current tab's list shows.
  auto* head = widgetOf<QTableView>(*window, "lstHead");
  auto* body = widgetOf<QTableView>(*window, "grdBody");
  auto* lines = widgetOf<QTableView>(*window, "vlLines");
  ASSERT_TRUE(head && body && lines);
  EXPECT_TRUE(head->isVisible());
  EXPECT_FALSE(body->isVisible());
  EXPECT_FALSE(lines->isVisible());
  auto* tabs = widgetOf<QWidget>(*window, "SSTab1")->findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("存货"));

  // The list view: headers, item texts and sub-items, check boxes.
  EXPECT_EQ(head->model()->rowCount(), 3);
  EXPECT_EQ(head->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("单据号"));
  EXPECT_EQ(head->model()->index(1, 0).data().toString(), QStringLiteral("A002"));
  EXPECT_EQ(head->model()->index(1, 1).data().toString(), QStringLiteral("D2"));
  EXPECT_EQ(head->model()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

  // The grid: row 0 is the header, column 0 the mark; the voucher list takes its captions from
  // its column definitions.
  EXPECT_EQ(body->model()->rowCount(), 2);
  EXPECT_EQ(body->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("存货编码"));
  EXPECT_EQ(body->model()->index(1, 1).data().toString(), QStringLiteral("I02"));
  EXPECT_EQ(lines->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("数量"));
  EXPECT_EQ(lines->model()->index(0, 2).data().toString(), QStringLiteral("5"));

  // The toolbar shows through the suite's toolbar control; the standard toolbar itself is hidden.
  auto* bar = widgetOf<QToolBar>(*window, "CTBCtrl1");
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), 2);
  EXPECT_EQ(bar->actions()[1]->text(), QStringLiteral("全选"));
  EXPECT_TRUE(bar->actions()[1]->isCheckable());
  EXPECT_FALSE(widgetOf<QToolBar>(*window, "tbrTool")->isVisible());

  auto* tree = widgetOf<QTreeWidget>(*window, "treeInv");
  ASSERT_NE(tree, nullptr);
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("存货"));
  EXPECT_EQ(tree->topLevelItem(0)->child(0)->checkState(0), Qt::Unchecked);

  // Visible top-level menus make the menu bar; the pop-up menu is not in it.
  auto* menuBar = window->findChild<QMenuBar*>();
  ASSERT_NE(menuBar, nullptr);
  ASSERT_EQ(menuBar->actions().size(), 1);
  EXPECT_EQ(menuBar->actions()[0]->text(), QStringLiteral("定位"));
  EXPECT_EQ(widgetOf<QWidget>(*window, "hdiQty")->findChild<QLabel*>()->text(),
            QStringLiteral("数量"));
}

TEST_F(RendererSyncTest, ChangesTheFormMakesReachTheWidgets) {
  auto* code = widgetOf<QLineEdit>(*window, "txtCode");
  form.txtCode.setText("订单001");
  EXPECT_EQ(code->text(), QStringLiteral("订单001"));
  form.txtCode.setSelStart(2);
  form.txtCode.setSelLength(3);
  EXPECT_EQ(code->selectedText(), QStringLiteral("001"));
  form.txtCode.setVisible(false);
  EXPECT_FALSE(code->isVisible());
  form.txtCode.setVisible(true);
  form.Frame1.setEnabled(false);
  EXPECT_FALSE(code->isEnabled());  // a disabled frame disables what it holds
  form.Frame1.setEnabled(true);
  form.txtCode.Move(0, 0, 3000, 600);
  EXPECT_EQ(code->geometry(), QRect(0, 0, 200, 40));
  form.txtCode.setLocked(true);
  EXPECT_TRUE(code->isReadOnly());

  form.cmdOk.setCaption("保存(&S)");
  EXPECT_EQ(widgetOf<QPushButton>(*window, "cmdOk")->text(), QStringLiteral("保存(&S)"));
  form.chkAll.setValue(forms::vbGrayed);
  EXPECT_EQ(widgetOf<QCheckBox>(*window, "chkAll")->checkState(), Qt::PartiallyChecked);
  form.optA.setValue(true);
  form.optB.setValue(true);
  EXPECT_FALSE(widgetOf<QRadioButton>(*window, "optA")->isChecked());
  EXPECT_TRUE(widgetOf<QRadioButton>(*window, "optB")->isChecked());

  auto* combo = widgetOf<QComboBox>(*window, "cmbType");
  form.cmbType.AddItem("普通采购");
  form.cmbType.AddItem("受托代销");
  form.cmbType.setListIndex(1);
  ASSERT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentText(), QStringLiteral("受托代销"));

  form.edtQty.setText("12.5");
  EXPECT_EQ(widgetOf<QLineEdit>(*window, "edtQty")->text(), QStringLiteral("12.5"));
  form.hdiQty.setText("3");
  form.hdiQty.setActive(false);
  auto* qty = widgetOf<QWidget>(*window, "hdiQty")->findChild<QLineEdit*>();
  EXPECT_EQ(qty->text(), QStringLiteral("3"));
  EXPECT_TRUE(qty->isReadOnly());
  form.sbr.setPanelText(1, "第3条");
  EXPECT_EQ(widgetOf<QWidget>(*window, "sbr")->findChild<QLabel*>()->text(),
            QStringLiteral("第3条"));

  // Lists catch up when the event loop runs: one refresh for any number of changes.
  auto* head = widgetOf<QTableView>(*window, "lstHead");
  form.lstHead.item(2).setChecked(true);
  form.lstHead.addItem("A004").setSubItem(1, "D4");
  form.lstHead.setColumnWidth(2, 0);
  settle();
  EXPECT_EQ(head->model()->rowCount(), 4);
  EXPECT_EQ(head->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_EQ(head->model()->index(3, 1).data().toString(), QStringLiteral("D4"));
  EXPECT_TRUE(head->isColumnHidden(1));
  form.lstHead.setSelectedItem(&form.lstHead.item(3));
  EXPECT_EQ(head->currentIndex().row(), 2);

  auto* body = widgetOf<QTableView>(*window, "grdBody");
  form.grdBody.setRows(5);
  form.grdBody.setTextMatrix(2, 4, "7");
  form.grdBody.setRowHeight(2, 0);
  settle();
  EXPECT_EQ(body->model()->rowCount(), 4);
  EXPECT_EQ(body->model()->index(3, 2).data().toString(), QStringLiteral("7"));
  EXPECT_TRUE(body->isRowHidden(1));
  form.grdBody.setRedraw(false);
  form.grdBody.setTextMatrix(2, 3, "8");
  form.grdBody.setRedraw(true);
  settle();
  EXPECT_EQ(body->model()->index(2, 2).data().toString(), QStringLiteral("8"));
  form.grdBody.setRows(1);  // only the captions are left
  settle();
  EXPECT_EQ(body->model()->rowCount(), 0);

  auto* lines = widgetOf<QTableView>(*window, "vlLines");
  form.vlLines.setMarked(2, true);
  form.vlLines.setColWidth(1, 0);
  settle();
  EXPECT_EQ(lines->model()->index(1, 0).data(Qt::EditRole).toString(), QStringLiteral("Y"));
  EXPECT_EQ(lines->model()->index(1, 0).data().toString(), QString(QChar(kCheckMark)));
  EXPECT_TRUE(lines->isColumnHidden(1));

  // Tabs: the current tab's controls show, the others hide.
  form.SSTab1.setTab(1);
  EXPECT_EQ(widgetOf<QWidget>(*window, "SSTab1")->findChild<QTabBar*>()->currentIndex(), 1);
  EXPECT_TRUE(body->isVisible());
  EXPECT_FALSE(head->isVisible());
  form.SSTab1.setTabCaption(2, "批次");
  EXPECT_EQ(widgetOf<QWidget>(*window, "SSTab1")->findChild<QTabBar*>()->tabText(2),
            QStringLiteral("批次"));

  auto* tree = widgetOf<QTreeWidget>(*window, "treeInv");
  form.treeInv.addChild("mRoot", "K02", "成品");
  form.treeInv.node("K02").setChecked(true);
  settle();
  ASSERT_EQ(tree->topLevelItem(0)->childCount(), 2);
  EXPECT_EQ(tree->topLevelItem(0)->child(1)->checkState(0), Qt::Checked);

  form.tbrTool.setButtonEnabled("ok", false);
  form.tbrTool.setButtonValue("all", 1);
  settle();
  auto* bar = widgetOf<QToolBar>(*window, "CTBCtrl1");
  EXPECT_FALSE(bar->actions()[0]->isEnabled());
  EXPECT_TRUE(bar->actions()[1]->isChecked());

  form.mnuLocal.setVisible(false);
  settle();
  EXPECT_TRUE(window->findChild<QMenuBar*>()->isHidden());

  form.setCaption("样例二");
  EXPECT_EQ(window->windowTitle(), QStringLiteral("样例二"));
  form.resize(6000, 3000);
  EXPECT_EQ(window->clientArea()->size(), QSize(400, 200));
  form.setMousePointer(forms::vbHourglass);
  EXPECT_EQ(window->cursor().shape(), Qt::WaitCursor);
  form.setMousePointer(forms::vbDefault);
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(RendererSyncTest, FocusFollowsTheFormAndUnloadLetsGoOfTheForm) {
  form.cmbType.SetFocus();
  EXPECT_EQ(window->focusWidget(), widgetOf<QComboBox>(*window, "cmbType"));
  form.SSTab1.SetFocus();
  EXPECT_EQ(window->focusWidget(), widgetOf<QWidget>(*window, "SSTab1")->findChild<QTabBar*>());

  QPointer<FormWindow> watched(window);
  ASSERT_TRUE(form.Unload());
  EXPECT_EQ(window->form(), nullptr);
  EXPECT_FALSE(window->isVisible());
  settle();
  EXPECT_EQ(watched, nullptr);  // deleted once the event loop ran
  EXPECT_EQ(host->windows().find(form), nullptr);
}

TEST(RendererLifetimeTest, AFormDestroyedWhileShownTakesItsWindowAlong) {
  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  QPointer<FormWindow> watched;
  {
    frmSample form;
    form.Show();
    watched = host->windows().find(form);
    ASSERT_NE(watched, nullptr);
    form.txtCode.setText("x");
  }
  EXPECT_EQ(watched->form(), nullptr);
  settle();
  EXPECT_EQ(watched, nullptr);
}

}  // namespace
}  // namespace quillon::ui::qt
