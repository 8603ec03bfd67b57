// What a person reads in the drawn lists: cells shown by what they hold while they keep their
// text, columns as wide as their content needs, widths he drags and the window's size kept for
// him, a window that widens to its lists and never cuts its buttons, and the keys that work the
// lists.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <QtTest/QTest>
#include <map>
#include <memory>
#include <string>

#include "forms/controls.h"
#include "forms/view_settings.h"
#include "qt_test_support.h"
#include "support/memory_view_settings.h"
#include "ui/qt/cell_display.h"
#include "ui/qt/column_widths.h"
#include "ui/qt/form_windows.h"
#include "ui/qt/grid_models.h"

namespace quillon::ui::qt {
namespace {

using testing::settle;
using testing::widgetOf;

TEST(CellDisplayTest, ColumnsAreJudgedByWhatTheyHoldAndShownAccordingly) {
  const ColumnLook quantity = lookOfColumn("数量", "##0.00", false, {"5", "-2.5", ""});
  EXPECT_EQ(quantity.kind, CellKind::Number);
  EXPECT_EQ(displayText(quantity, "5"), "5.00");
  EXPECT_EQ(displayText(quantity, "1,234.5"), "1234.50");
  EXPECT_EQ(displayText(quantity, "abc"), "abc");  // what is no number shows as it is
  EXPECT_EQ(alignmentOf(quantity), Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(foregroundOf(quantity, "-2.50"), QColor(0xC0, 0, 0));
  EXPECT_FALSE(foregroundOf(quantity, "-0").isValid());
  EXPECT_FALSE(foregroundOf(quantity, "2.50").isValid());

  // Digits are an amount unless they are a code: a leading zero, or a caption naming a code.
  EXPECT_EQ(lookOfColumn("结存数量", "", false, {"1851", "895.5"}).kind, CellKind::Number);
  EXPECT_EQ(lookOfColumn("存货编码", "", false, {"0101003"}).kind, CellKind::Text);
  EXPECT_EQ(lookOfColumn("单据号", "", false, {"26110009"}).kind, CellKind::Text);
  EXPECT_EQ(lookOfColumn("AutoID", "", false, {"7"}).kind, CellKind::Text);
  EXPECT_EQ(lookOfColumn("备注", "", false, {"12", "见合同"}).kind, CellKind::Text);
  EXPECT_EQ(lookOfColumn("备注", "", false, {"", ""}).kind, CellKind::Text);

  // Dates read in one form, the time only when there is one.
  const ColumnLook date = lookOfColumn("单据日期", "", false, {"2026/1/5", "2026-11-30 00:00:00"});
  ASSERT_EQ(date.kind, CellKind::Date);
  EXPECT_EQ(displayText(date, "2026/1/5"), "2026-01-05");
  EXPECT_EQ(displayText(date, "2026-11-30 00:00:00"), "2026-11-30");
  EXPECT_EQ(displayText(date, "2026-11-30 8:05"), "2026-11-30 08:05:00");

  // The mark of a grid and the "√" of a list are drawn as a check mark.
  const ColumnLook grid = lookOfColumn("选择", "", true, {"Y", ""});
  EXPECT_EQ(displayText(grid, "Y"), QString(QChar(kCheckMark)));
  EXPECT_EQ(displayText(grid, ""), "");
  EXPECT_EQ(lookOfColumn("选择", "", false, {"√", "", "√"}).kind, CellKind::Mark);
  EXPECT_EQ(alignmentOf(grid), Qt::AlignHCenter | Qt::AlignVCenter);

  EXPECT_EQ(twoLineCaption("本次入库数量"), "本次入库\n数量");
  EXPECT_EQ(twoLineCaption("累计入库件数"), "累计入库\n件数");
  EXPECT_EQ(twoLineCaption("批号"), "批号");
  EXPECT_EQ(twoLineCaption("cInvCode"), "cInvCode");
}

TEST(CellDisplayTest, KeptWidthsSurviveTheirTextAndIgnoreWhatIsGarbled) {
  QHash<QString, KeptWidth> widths;
  widths.insert("存货名称", {2400, 0});
  widths.insert("a=b;c%d", {900, 1152});
  const QString text = keptWidthsText(widths);
  EXPECT_EQ(parseKeptWidths(text), widths);
  const auto read = parseKeptWidths("批号=900/0;=5/0;数量=x/0;件数=0/0;规格=700/-1;仓库=800/1000");
  ASSERT_EQ(read.size(), 2);
  EXPECT_EQ(read.value("批号").twips, 900);
  EXPECT_EQ(read.value("仓库").base, 1000);
}

// A narrow form with one wide grid of stock lines, a default and a cancel button.
class frmLines : public forms::Form {
 public:
  frmLines() : Form("frmLines", "明细", 6000, 4000) {
    cmdOk.setDefault(true);
    cmdExit.setCancel(true);
    cmdOk.Click = [this] { ++oks; };
    cmdExit.Click = [this] { Unload(); };
    grdLines.Click = [this] {
      if (grdLines.Col() == 0 && grdLines.Row() > 0) {
        grdLines.setMarked(grdLines.Row(), !grdLines.isMarked(grdLines.Row()));
      }
    };
    const char* captions[] = {"选择", "存货名称", "失效日期",     "本次出库数量",
                              "备注", "批号",     "计划到货日期", "存货编码",
                              "件数", "颜色",     "规格"};
    grdLines.setCols(11);
    grdLines.setRows(3);
    for (int c = 0; c < 11; ++c) grdLines.setTextMatrix(c, 0, captions[c]);
    grdLines.setTextMatrix(1, 1, "圆钢");
    grdLines.setTextMatrix(1, 2, "六角螺栓 M8");
    grdLines.setTextMatrix(2, 2, "2026-10-08");
    grdLines.setTextMatrix(3, 1, "-1851");
    grdLines.setColFormat(3, "##0.00");
    grdLines.setTextMatrix(4, 1, std::string(80, 'x'));
    grdLines.setColWidth(5, 600);  // a width the form gives, too narrow for its batch
    grdLines.setTextMatrix(5, 2, "SN2610-0045-A");
    grdLines.setTextMatrix(6, 2, "2026-12-08");
    grdLines.setColWidth(6, 300);  // too narrow for its dates
    grdLines.setTextMatrix(7, 1, "0303010007");
    grdLines.setColWidth(7, 500);  // too narrow for its codes
    grdLines.setTextMatrix(8, 1, "0");
    grdLines.setTextMatrix(8, 2, "0.00");
    grdLines.setColWidth(8, 1500);  // wide, and only zeros in it
    grdLines.setColWidth(9, 1500);  // wide, and nothing in it
    grdLines.setTextMatrix(10, 1, "M8");
    grdLines.setColWidth(10, 900);
    grdLines.setMarked(1, true);
  }
  forms::MsSuperGrid& grdLines = add<forms::MsSuperGrid>("grdLines", {120, 120, 5700, 3000});
  forms::CommandButton& cmdOk =
      add<forms::CommandButton>("cmdOk", {3600, 3400, 1100, 350}, "确定(&O)");
  forms::CommandButton& cmdExit =
      add<forms::CommandButton>("cmdExit", {4800, 3400, 1100, 350}, "取消(&X)");
  int oks = 0;
};

class ReadableListsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (form && form->Loaded()) form->Unload();
    settle();
  }
  FormWindow* show() {
    form = std::make_unique<frmLines>();
    form->Show();
    settle();
    return host->windows().find(*form);
  }

  std::shared_ptr<test_support::MemoryViewSettings> settings =
      std::make_shared<test_support::MemoryViewSettings>();
  test_support::ScopedViewSettings installedSettings{settings};
  std::shared_ptr<testing::AnsweringQtHost> host = std::make_shared<testing::AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  std::unique_ptr<frmLines> form;
};

TEST_F(ReadableListsTest, ColumnsFitTheirContentAndTheWindowWidensToShowThem) {
  FormWindow* window = show();
  ASSERT_NE(window, nullptr);
  auto* view = widgetOf<QTableView>(*window, "grdLines");
  auto* model = dynamic_cast<ControlTableModel*>(view->model());
  ASSERT_NE(model, nullptr);
  const QFontMetrics metrics(view->font());
  auto fits = [&](int col, int row) {
    const QString shown = model->data(model->index(row, col), Qt::DisplayRole).toString();
    return view->columnWidth(col) >= metrics.horizontalAdvance(shown) + 4;
  };

  // The cell keeps its text; the person reads it as its column's look draws it.
  EXPECT_EQ(model->data(model->index(0, 0), Qt::EditRole).toString(), "Y");
  EXPECT_EQ(model->data(model->index(0, 0), Qt::DisplayRole).toString(), QChar(kCheckMark));
  EXPECT_EQ(model->data(model->index(0, 3), Qt::DisplayRole).toString(), "-1851.00");
  EXPECT_EQ(model->data(model->index(0, 3), Qt::ForegroundRole).value<QBrush>().color(),
            QColor(0xC0, 0, 0));
  EXPECT_EQ(model->data(model->index(0, 3), Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignRight | Qt::AlignVCenter);

  // Dates and quantities uncut, also where the form's width was too narrow for a date; a long
  // text within bounds; the form's own width otherwise.
  EXPECT_TRUE(fits(1, 1));
  EXPECT_TRUE(fits(2, 1));
  EXPECT_TRUE(fits(3, 0));
  EXPECT_TRUE(fits(6, 1));
  // The long remark gives up room for the other columns, never beyond its bound.
  EXPECT_LE(view->columnWidth(4), ColumnWidths::kMaxPixels);
  EXPECT_GE(view->columnWidth(4), ColumnWidths::kMinPixels);
  EXPECT_EQ(view->columnWidth(10), 900 / 15);
  // Codes and batches are read whole, whatever width the form gave them.
  EXPECT_TRUE(fits(5, 1));
  EXPECT_TRUE(fits(7, 0));
  // Columns with nothing to read (zeros, blanks) shrink to their caption.
  const QFontMetrics header(view->horizontalHeader()->font());
  for (const int col : {8, 9}) {
    const QString caption = model->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_LE(view->columnWidth(col),
              std::max(header.horizontalAdvance(caption) + 12, ColumnWidths::kMinPixels))
        << col;
    EXPECT_GE(view->columnWidth(col), header.horizontalAdvance(caption)) << col;
  }
  EXPECT_TRUE(fits(8, 1));

  // The window grew (as far as the screen lets it) so that the grid shows its columns.
  EXPECT_GT(window->width(), 6000 / 15);
  EXPECT_LE(window->width(), window->availableArea().width());
  EXPECT_GT(form->grdLines.Width(), 5700);  // the grid took the room
  EXPECT_EQ(form->cmdOk.Left() - 3600, form->Width() - 6000);
}

TEST_F(ReadableListsTest, WhatThePersonArrangedIsKeptForHimAndOnlyThat) {
  FormWindow* window = show();
  ASSERT_NE(window, nullptr);
  // Nothing was arranged by a person: nothing is kept.
  form->Unload();
  settle();
  EXPECT_TRUE(settings->items.empty());

  window = show();
  auto* view = widgetOf<QTableView>(*window, "grdLines");
  view->horizontalHeader()->resizeSection(1, 90);  // the person drags the name column
  view->horizontalHeader()->resizeSection(5, 70);  // and the batch column the form gave 600
  window->resize(window->width() - 40, window->height() + 30);
  settle();
  const QSize arranged = window->clientArea()->size();
  form->Unload();
  settle();
  EXPECT_EQ(settings->items["frmLines/grdLines"], "存货名称=1350/0;批号=1050/600");
  ASSERT_TRUE(settings->items.count("frmLines/Window"));

  // Shown again: as he left it, and not widened further.
  window = show();
  view = widgetOf<QTableView>(*window, "grdLines");
  EXPECT_EQ(view->columnWidth(1), 90);
  EXPECT_EQ(view->columnWidth(5), 70);
  EXPECT_EQ(window->clientArea()->size(), arranged);
  form->Unload();
  settle();

  // A form that now gives the batch column another width wins over what he dragged then.
  form = std::make_unique<frmLines>();
  form->grdLines.setColWidth(5, 1800);
  form->Show();
  settle();
  window = host->windows().find(*form);
  EXPECT_GT(widgetOf<QTableView>(*window, "grdLines")->columnWidth(5), 70);
}

TEST_F(ReadableListsTest, TheWindowCannotBeMadeSoSmallThatItsButtonsAreCut) {
  FormWindow* window = show();
  ASSERT_NE(window, nullptr);

  // Made as small as it goes, every button still shows whole.
  window->resize(120, 80);
  settle();
  EXPECT_GE(window->width(), 6000 / 15);
  for (const char* name : {"cmdOk", "cmdExit"}) {
    auto* button = widgetOf<QWidget>(*window, name);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(window->clientArea()->rect().contains(button->geometry())) << name;
  }

  // Kept at its least size, it opens at it again, not below.
  form->Unload();
  settle();
  settings->items["frmLines/Window"] = "10,10,50,40";
  window = show();
  EXPECT_EQ(window->clientArea()->size(), QSize(6000 / 15, 4000 / 15));
}

TEST_F(ReadableListsTest, CurrentAndMarkedRowsReadApart) {
  FormWindow* window = show();
  ASSERT_NE(window, nullptr);
  auto* view = widgetOf<QTableView>(*window, "grdLines");
  form->grdLines.SetFocus();
  ASSERT_TRUE(form->grdLines.userSelectCell(2, 1));
  settle();
  // The background of each row, where no text is drawn: the right end of the date column.
  const auto background = [&](int row) {
    const QImage picture = view->viewport()->grab().toImage();
    const int x = view->columnViewportPosition(2) + view->columnWidth(2) - 4;
    const int y = view->rowViewportPosition(row) + view->rowHeight(row) / 2;
    return picture.pixelColor(x, y);
  };
  const QColor plain = view->palette().color(QPalette::Base);
  const QColor marked = background(0);
  const QColor current = background(1);
  EXPECT_NE(marked, plain);
  EXPECT_NE(current, plain);
  EXPECT_NE(current, marked);

  // The current row moves to the marked one: it still reads as current, and the row it left
  // is plain again.
  ASSERT_TRUE(form->grdLines.userSelectCell(1, 1));
  settle();
  EXPECT_NE(background(0), marked);
  EXPECT_NE(background(0), current);
  EXPECT_EQ(background(1), plain);
}

TEST_F(ReadableListsTest, TheGridIsWorkedByTheKeys) {
  FormWindow* window = show();
  ASSERT_NE(window, nullptr);
  auto* view = widgetOf<QTableView>(*window, "grdLines");
  form->grdLines.SetFocus();
  ASSERT_TRUE(form->grdLines.userSelectCell(2, 1));
  settle();
  // Space marks the current row and the current cell stays where it was.
  QTest::keyClick(view, Qt::Key_Space);
  settle();
  EXPECT_TRUE(form->grdLines.isMarked(2));
  EXPECT_EQ(form->grdLines.Col(), 1);
  EXPECT_EQ(view->currentIndex(), view->model()->index(1, 1));
  // Enter is the form's OK, Esc its cancel.
  QTest::keyClick(view, Qt::Key_Return);
  EXPECT_EQ(form->oks, 1);
  QTest::keyClick(view, Qt::Key_Escape);
  EXPECT_FALSE(form->Loaded());
}

}  // namespace
}  // namespace quillon::ui::qt
