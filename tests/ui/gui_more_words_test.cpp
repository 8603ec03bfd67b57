// Dialog words with the forms drawn: the same script holds and
// writes the same transcript as headless, its property expectations read the drawn widgets, and a
// grid column with cell buttons is drawn with them.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTableView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <memory>

#include "more_words_form.h"
#include "qt_test_support.h"
#include "script/control_property.h"
#include "script/script_parser.h"
#include "script/script_runner.h"
#include "ui/qt/control_view.h"
#include "ui/qt/form_windows.h"
#include "ui/qt/gui_script.h"

namespace quillon::ui::qt {
namespace {

using forms::testing::frmMore;

class SecondRunner : public script::ScriptRunner {
 public:
  explicit SecondRunner(std::shared_ptr<script::ScriptedUiHost> host)
      : ScriptRunner(std::move(host)) {}
  std::vector<std::unique_ptr<frmMore>> forms;

 protected:
  void onCall(const script::CallLine&, script::SourcePos) override {
    forms.push_back(std::make_unique<frmMore>());
    forms.back()->Show(forms::vbModal);
  }
};

TEST(GuiMoreWordsTest, TheSameScriptHoldsDrawnWithTheHeadlessTranscript) {
  auto headlessHost = std::make_shared<script::ScriptedUiHost>();
  SecondRunner headless(headlessHost);
  const auto plain = headless.runText(forms::testing::kMoreWordsScript);
  ASSERT_TRUE(plain.ok) << plain.message;

  const GuiScriptResult drawn =
      runScriptWithGui(forms::testing::kMoreWordsScript, {},
                       [&](auto host) { return std::make_unique<SecondRunner>(std::move(host)); });
  ASSERT_TRUE(drawn.run.ok) << drawn.run.message;
  EXPECT_EQ(drawn.transcript, headlessHost->transcript());
  testing::settle();
}

// frmMore shown modeless by the drawing host, its window at hand.
class DrawnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Show(forms::vbModeless);
    window = host->windows().find(form);
    ASSERT_NE(window, nullptr);
    bringUpToDate(*window);
  }
  void TearDown() override {
    form.Unload();
    testing::settle();
  }
  std::shared_ptr<DrawingScriptHost> host = std::make_shared<DrawingScriptHost>(GuiScriptOptions{});
  forms::ScopedUiHost installed{host};
  frmMore form;
  FormWindow* window = nullptr;
};

// A script whose expectation holds headless fails drawn when the widget shows something else: the
// drawn run reads what a person sees.
TEST_F(DrawnForm, DrawnExpectationsReadTheWidgetNotTheControl) {
  auto read = [&](forms::Control& control, const char* property, std::string key = {}) {
    script::DialogAction action;
    action.property = property;
    action.key = std::move(key);
    return host->readProperty(form, control, action);
  };
  auto widgetOf = [&](forms::Control& control) { return window->viewOf(&control)->widget(); };

  // As drawn from the controls: the same as the controls say.
  EXPECT_FALSE(read(form.txtCode, "Enabled").asBool());
  EXPECT_TRUE(read(form.lblWhere, "Visible").asBool());
  EXPECT_FALSE(read(form.lblOther, "Visible").asBool());
  EXPECT_EQ(read(form.fraFilter, "Caption").asString(), "条件(&T)");
  EXPECT_EQ(read(form.grdLines, "ColumnWidth", "存货编码").toLong(), 1200);
  EXPECT_FALSE(read(form.grdLines, "ColumnVisible", "备注").asBool());
  EXPECT_EQ(read(form.lstPick, "ColumnWidth", "存货编码").toLong(), 1500);
  EXPECT_FALSE(read(form.lstPick, "ColumnVisible", "内部").asBool());
  EXPECT_EQ(read(form.lstPick, "ColumnWidth", "内部").toLong(), 0);
  EXPECT_EQ(read(form.txtCode, "Tag").asString(), "code");

  // Widgets that no longer show what their controls hold are read as they show.
  widgetOf(form.fraFilter)->setEnabled(true);
  EXPECT_TRUE(read(form.txtCode, "Enabled").asBool());
  EXPECT_FALSE(form.fraFilter.Enabled());
  static_cast<QLabel*>(widgetOf(form.lblWhere))->setText(QStringLiteral("别的"));
  EXPECT_EQ(read(form.lblWhere, "Caption").asString(), "别的");
  auto* grid = static_cast<QTableView*>(widgetOf(form.grdLines));
  grid->setColumnWidth(1, 50);
  EXPECT_EQ(read(form.grdLines, "ColumnWidth", "存货编码").toLong(), 750);
  grid->setColumnHidden(3, false);
  EXPECT_TRUE(read(form.grdLines, "ColumnVisible", "备注").asBool());
  // A list's header k is the view's column k - 1.
  auto* list = static_cast<QTableView*>(widgetOf(form.lstPick));
  list->setColumnHidden(1, true);
  EXPECT_FALSE(read(form.lstPick, "ColumnVisible", "存货编码").asBool());
  EXPECT_EQ(form.lstPick.column(2).width, 1500);
  auto* tree = static_cast<QTreeWidget*>(widgetOf(form.treeBins));
  tree->blockSignals(true);  // the widget alone changes, not the tree control
  for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) (*it)->setCheckState(0, Qt::Checked);
  tree->blockSignals(false);
  EXPECT_TRUE(read(form.treeBins, "Checked", "B02").asBool());
  EXPECT_FALSE(form.treeBins.findNode("B02")->Checked());

  // What a control lacks is the control's error, drawn or not.
  EXPECT_THROW(read(form.treeBins, "Checked", "B09"), script::PropertyError);
}

TEST_F(DrawnForm, AColumnWithCellButtonsIsDrawnWithThem) {
  const QImage withButtons = pictureOf(*window);
  form.grdLines.setColButton(2, false);
  const QImage without = pictureOf(*window);
  EXPECT_NE(withButtons, without);
  form.grdLines.setColButton(2, true);
  EXPECT_EQ(pictureOf(*window), withButtons);
}

}  // namespace
}  // namespace quillon::ui::qt
