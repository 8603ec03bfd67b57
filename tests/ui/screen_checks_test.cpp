// Every drawn dialog of the library on a 1366×768 screen, looked at after every step of example
// sessions that work it, by what a person must see: the window on the screen under the dialog's
// caption and staying where it opened; in the first screen of every list no date or number cut, and
// every date, number and quantity column in view without scrolling; negative quantities red; marks
// drawn as check marks; no column captioned by a bare field name (cWhCode, AutoID) and every
// quantity of a list with the same decimals.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTableView>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "drawn_examples.h"
#include "qt_test_support.h"
#include "run/host_script_runner.h"
#include "tests/support/scratch_dir.h"
#include "ui/qt/cell_display.h"
#include "ui/qt/form_windows.h"
#include "ui/qt/grid_models.h"
#include "ui/qt/gui_script.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {
namespace {

// What the checks found of a dialog over its sessions, so that none passes by seeing nothing.
struct Seen {
  int windows = 0;
  int dates = 0;
  int quantities = 0;
  int marks = 0;
  int red = 0;
};

// The delegate's room around a cell's text: a text wider than the column less this is cut.
constexpr int kTextMargins = 6;

// Whether something is drawn inside a cell: its inside is not of one colour.
bool drawnInside(const QImage& image, const QRect& cell) {
  QSet<QRgb> colours;
  const QRect inside = cell.adjusted(4, 3, -4, -3).intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) colours.insert(image.pixel(x, y));
  }
  return colours.size() > 2;
}

class CheckingHost final : public DrawingScriptHost {
 public:
  CheckingHost() : DrawingScriptHost(GuiScriptOptions{}) {}
  std::map<std::string, Seen> seen;
  // Where each shown form's window stood when it was first looked at.
  std::map<const forms::Form*, QRect> placed;

  void runModal(forms::Form& form) override {
    placed.erase(&form);
    check(form);
    DrawingScriptHost::runModal(form);
  }
  void runModeless(forms::Form& form) override {
    placed.erase(&form);
    check(form);
    DrawingScriptHost::runModeless(form);
  }

 protected:
  void actionDone(forms::Form& form, const script::DialogAction& action) override {
    DrawingScriptHost::actionDone(form, action);
    if (form.Loaded() && form.Visible()) check(form);
  }

 private:
  void check(forms::Form& form) {
    FormWindow* window = windows().find(form);
    if (window == nullptr) return;
    bringUpToDate(*window);
    Seen& s = seen[form.Name()];
    ++s.windows;
    const std::string where = form.Name() + " at step " + std::to_string(s.windows);
    EXPECT_EQ(window->windowTitle(), toQString(form.Caption())) << where;
    const QRect screen = window->availableArea();
    EXPECT_EQ(screen.size(), QSize(1366, 768));
    EXPECT_TRUE(screen.contains(window->frameGeometry())) << where;
    // Once shown, the window stays where and as large as it opened whatever the session does
    // (marking the first head fills the line list: its columns scroll, the window does not jump).
    const auto [first, fresh] = placed.emplace(&form, window->geometry());
    if (!fresh) {
      EXPECT_EQ(window->geometry(), first->second) << where << ": the window moved";
    }
    for (QTableView* view : window->findChildren<QTableView*>()) {
      if (view->isVisible()) checkList(*view, where + ", " + toStd(view->objectName()), s);
    }
    // Every button shows what it does (no blank square) and lies inside the box it stands in.
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
      if (!button->isVisible() || button->parentWidget() == nullptr) continue;
      const std::string named = where + ", button " + toStd(button->objectName());
      EXPECT_FALSE(button->text().isEmpty() && button->icon().isNull()) << named;
      EXPECT_TRUE(button->parentWidget()->rect().contains(button->geometry())) << named;
    }
  }

  void checkList(QTableView& view, const std::string& where, Seen& s) {
    auto* model = dynamic_cast<ControlTableModel*>(view.model());
    if (model == nullptr) return;
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0) << where;
    const QFontMetrics metrics(view.font());
    const QImage picture = view.viewport()->grab().toImage();
    const int shownWidth = view.viewport()->width();
    std::vector<int> firstScreen;
    for (int r = 0; r < model->rowCount(); ++r) {
      if (view.isRowHidden(r)) continue;
      if (view.rowViewportPosition(r) >= view.viewport()->height()) break;
      firstScreen.push_back(r);
    }
    // A field name as the database spells it: a lower-case type prefix and a capital (cWhCode,
    // iQuantity), or a row key.
    static const QRegularExpression fieldName(
        QStringLiteral("^([a-z]{1,3}[A-Z][A-Za-z0-9]*|AutoID)$"));
    // The decimals quantities are drawn with in this list (-1: none seen yet).
    int quantityDecimals = -1;
    for (int c = 0; c < model->columnCount(); ++c) {
      if (view.isColumnHidden(c)) continue;
      const ColumnLook& look = model->look(c);
      const QString caption = model->captionOf(c);
      const bool amounts = look.kind == CellKind::Date || look.kind == CellKind::Number;
      const std::string column = where + ", column " + toStd(caption);
      const QString drawn = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
      EXPECT_FALSE(fieldName.match(drawn).hasMatch())
          << column << " is drawn as \"" << toStd(drawn) << '"';
      const bool quantity =
          look.kind == CellKind::Number && caption.endsWith(QStringLiteral("数量"));
      if (amounts || caption.contains(QStringLiteral("数量"))) {
        // In view as the list opens: no scrolling needed to read it.
        EXPECT_GE(view.columnViewportPosition(c), 0) << column;
        EXPECT_LE(view.columnViewportPosition(c) + view.columnWidth(c), shownWidth) << column;
      }
      for (const int r : firstScreen) {
        const QModelIndex index = model->index(r, c);
        const QString shown = model->data(index, Qt::DisplayRole).toString();
        if (shown.isEmpty()) continue;
        if (amounts) {
          EXPECT_LE(metrics.horizontalAdvance(shown) + kTextMargins, view.columnWidth(c))
              << column << ": \"" << toStd(shown) << "\" is cut";
          ++(look.kind == CellKind::Date ? s.dates : s.quantities);
        }
        if (quantity) {
          const qsizetype point = shown.lastIndexOf(u'.');
          const int decimals = point < 0 ? 0 : static_cast<int>(shown.size() - point - 1);
          if (quantityDecimals < 0) quantityDecimals = decimals;
          EXPECT_EQ(decimals, quantityDecimals) << column << ": \"" << toStd(shown) << '"';
        }
        if (look.kind == CellKind::Number && shown.startsWith(u'-')) {
          EXPECT_EQ(model->data(index, Qt::ForegroundRole).value<QBrush>().color(),
                    QColor(0xC0, 0, 0))
              << column;
          ++s.red;
        }
        if (look.kind == CellKind::Mark) {
          EXPECT_EQ(shown, QString(QChar(kCheckMark))) << column;
          EXPECT_TRUE(drawnInside(picture, view.visualRect(index))) << column << ", row " << r;
          ++s.marks;
        }
      }
    }
  }
};

struct DialogSessions {
  const char* form;
  std::vector<const char*> examples;
  bool lists;  // it shows dates and quantities once worked
  bool marks;  // rows are marked with a mark text
  bool red;    // one of its sessions is a red document
};

void PrintTo(const DialogSessions& dialog, std::ostream* os) {
  *os << dialog.form;
}

class ScreenChecksTest : public ::testing::TestWithParam<DialogSessions> {};

TEST_P(ScreenChecksTest, TheDialogShowsWhatAPersonMustSee) {
  const DialogSessions& dialog = GetParam();
  testing::registerEverything();
  test_support::ScratchDir dir;
  auto host = std::make_shared<CheckingHost>();
  for (const char* example : dialog.examples) {
    SCOPED_TRACE(example);
    const std::string db = (dir.path() / example / "demo.db").string();
    testing::makeDemoAccount(db);
    std::ostringstream out;
    cli::run::HostScriptRunner runner(db, out, host);
    const auto result = runner.runSource(testing::readExample(example));
    EXPECT_TRUE(result.ok) << result.message;
    testing::settle();
  }
  const Seen& s = host->seen[dialog.form];
  RecordProperty("steps", s.windows);
  RecordProperty("dateCells", s.dates);
  RecordProperty("numberCells", s.quantities);
  RecordProperty("marks", s.marks);
  RecordProperty("redCells", s.red);
  EXPECT_GT(s.windows, 0);
  if (dialog.lists) {
    EXPECT_GT(s.dates, 0);
    EXPECT_GT(s.quantities, 0);
  }
  if (dialog.marks) {
    EXPECT_GT(s.marks, 0);
  }
  if (dialog.red) {
    EXPECT_GT(s.red, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryDrawnDialog, ScreenChecksTest,
    ::testing::Values(
        DialogSessions{"frmProduceOrder", {"produce_order_material_issue.qhs"}, true, false, false},
        DialogSessions{"frmWWProduceOrder",
                       {"outsourced_order_receipt.qhs", "outsourced_order_kit_issue.qhs"},
                       true,
                       true,
                       false},
        DialogSessions{"frmStockOrder",
                       {"stock_order_partial_receipt.qhs", "stock_order_red_tracked.qhs"},
                       true,
                       true,
                       true},
        DialogSessions{"frmCons", {"cons_sales_issue.qhs", "cons_red_issue.qhs"}, true, true, true},
        DialogSessions{"frmRefSelect",
                       {"ref_select_batch_by_hand.qhs", "ref_select_red_voucher.qhs"},
                       true,
                       true,
                       true},
        DialogSessions{"frmReturnInvSet", {"return_inv_set_by_class.qhs"}, false, true, false},
        DialogSessions{"frmBatchPosition", {"position_set_bin_moves.qhs"}, false, false, false}),
    [](const ::testing::TestParamInfo<DialogSessions>& param) {
      return std::string(param.param.form);
    });

}  // namespace
}  // namespace quillon::ui::qt
