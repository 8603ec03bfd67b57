// A form that grows gives the room to its lists, and the keys a person works the lists with: Space
// marks the current row of every kind of list, Enter and Esc press a toolbar's default and cancel
// buttons where a form has no command buttons for them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/dialog_shell.h"
#include "forms/form.h"
#include "sample_form.h"

namespace quillon::forms {
namespace {

using testing::TableSource;

// A filter row above two stacked grids on a tab strip, buttons in the right part, a frame across
// the form, and a row of buttons below the lists.
class frmStretch : public Form {
 public:
  frmStretch() : Form("frmStretch", "伸缩", 10000, 8000) {}
  Frame& Frame1 = add<Frame>("Frame1", {120, 60, 9760, 900}, "过滤条件");
  Label& lblCode = add<Label>("lblCode", {120, 300, 800, 240, &Frame1}, "单据号");
  TextBox& txtCode = add<TextBox>("txtCode", {1000, 300, 1600, 300, &Frame1});
  CommandButton& cmdFilter =
      add<CommandButton>("cmdFilter", {8400, 300, 1100, 350, &Frame1}, "过滤");
  CheckBox& chkAll = add<CheckBox>("chkAll", {6200, 1080, 1800, 300}, "全部");
  CommandButton& cmdOk = add<CommandButton>("cmdOk", {8760, 1080, 1100, 350}, "确定");
  CorvidXTabStrip& SSTab1 = add<CorvidXTabStrip>("SSTab1", {120, 1500, 9760, 5700},
                                                 std::vector<std::string>{"订单", "到货单"});
  MsSuperGrid& grdHead = add<MsSuperGrid>("grdHead", {60, 400, 9640, 2000, &SSTab1, 0});
  MsSuperGrid& grdBody = add<MsSuperGrid>("grdBody", {60, 2500, 9640, 3000, &SSTab1, 0});
  CommandButton& cmdColumns = add<CommandButton>("cmdColumns", {120, 7400, 1100, 350}, "栏目");
};

struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};
Box boxOf(const Control& c) {
  return {c.Left(), c.Top(), c.Width(), c.Height()};
}

TEST(FormStretchTest, TheListsTakeWhatTheFormGainsAndTheRestKeepsItsPlace) {
  frmStretch f;
  std::vector<Box> designed;
  for (const Control* c : f.controls()) designed.push_back(boxOf(*c));

  f.resize(13000, 9000);  // 3000 across, 1000 down
  // Across: the tab strip and its grids take it all, the frame across the form widens, buttons in
  // the right part keep their distance to the edge; the filter fields and the check box stay.
  EXPECT_EQ(f.SSTab1.Width(), 9760 + 3000);
  EXPECT_EQ(f.grdHead.Width(), 9640 + 3000);
  EXPECT_EQ(f.grdBody.Width(), 9640 + 3000);
  EXPECT_EQ(f.Frame1.Width(), 9760 + 3000);
  EXPECT_EQ(f.cmdFilter.Left(), 8400 + 3000);
  EXPECT_EQ(f.cmdOk.Left(), 8760 + 3000);
  EXPECT_EQ(boxOf(f.txtCode), (Box{1000, 300, 1600, 300}));
  EXPECT_EQ(boxOf(f.chkAll), (Box{6200, 1080, 1800, 300}));
  // Down: the grids share it by their heights (2000 : 3000), the body moves below the head, and
  // what is below the lists moves down by all of it.
  EXPECT_EQ(f.SSTab1.Height(), 5700 + 1000);
  EXPECT_EQ(f.grdHead.Top(), 400);
  EXPECT_EQ(f.grdHead.Height(), 2000 + 400);
  EXPECT_EQ(f.grdBody.Top(), 2500 + 400);
  EXPECT_EQ(f.grdBody.Height(), 3000 + 600);
  EXPECT_EQ(f.cmdColumns.Top(), 7400 + 1000);
  EXPECT_EQ(f.cmdColumns.Left(), 120);

  // Back to the designed size everything is where it was; smaller than designed changes nothing.
  f.resize(10000, 8000);
  std::vector<Box> now;
  for (const Control* c : f.controls()) now.push_back(boxOf(*c));
  EXPECT_EQ(now, designed);
  f.resize(6000, 5000);
  now.clear();
  for (const Control* c : f.controls()) now.push_back(boxOf(*c));
  EXPECT_EQ(now, designed);
  EXPECT_EQ(f.Width(), 6000);
  EXPECT_EQ(f.designWidth(), 10000);
}

TEST(FormKeysTest, SpaceMarksTheCurrentRowOfEveryKindOfList) {
  testing::frmSample f;
  f.Show();
  // The grid: a click on the row's mark cell (the sample's Click toggles the mark), and the current
  // column stays where the person was.
  f.grdBody.SetFocus();
  ASSERT_TRUE(f.grdBody.userSelectCell(2, 1));
  f.userKey(vbKeySpace, 0, ' ');
  EXPECT_TRUE(f.grdBody.isMarked(2));
  EXPECT_EQ(f.grdBody.Col(), 1);
  EXPECT_EQ(f.grdBody.TextMatrix(1, 2), "I02");  // no space typed into a cell
  f.userKey(vbKeySpace, 0, ' ');
  EXPECT_FALSE(f.grdBody.isMarked(2));

  // The voucher list marks the current row; its RowMarkChanged follows.
  ASSERT_TRUE(f.vlLines.userSelectRow(2));
  f.log.clear();
  f.userKey(vbKeySpace, 0, ' ');
  EXPECT_TRUE(f.vlLines.Marked(2));
  EXPECT_EQ(f.log, std::vector<std::string>{"vlLines_RowMarkChanged:2"});

  // A list with check boxes checks the selected item; moving to an item with the keys selects it
  // without a click.
  int clicks = 0;
  f.lstHead.ItemClick = [&](ListItem&) { ++clicks; };
  ASSERT_TRUE(f.lstHead.userSelectItem(3));
  EXPECT_EQ(f.lstHead.SelectedItem()->Index(), 3);
  EXPECT_EQ(clicks, 0);
  f.log.clear();
  f.userKey(vbKeySpace, 0, ' ');
  EXPECT_TRUE(f.lstHead.item(3).Checked());
  EXPECT_EQ(f.log, std::vector<std::string>{"lstHead_ItemCheck:3k+"});
  // Without check boxes Space is a click on the item (a list whose click marks rows).
  f.lstHead.setCheckboxes(false);
  f.userKey(vbKeySpace, 0, ' ');
  EXPECT_EQ(clicks, 1);
  f.Unload();
}

TEST(FormKeysTest, EnterAndEscPressTheToolbarsDefaultAndCancelButtons) {
  Form f("frmBar", "工具栏", 6000, 4000);
  auto& tbr = f.add<Toolbar>("tbr", {0, 0, 6000, 400});
  auto& suite = f.add<CTBCtrl>("suite", {0, 0, 6000, 400});
  auto& grid = f.add<MsSuperGrid>("grid", {120, 600, 5000, 3000});
  tbr.addButton("ok", "确定");
  tbr.addButton("cancel", "取消");
  tbr.setDefaultKey("ok");
  tbr.setCancelKey("cancel");
  std::vector<std::string> pressed;
  tbr.ButtonClick = [&](ToolbarButton& b) { pressed.push_back("tbr:" + b.key); };
  suite.ButtonClick = [&](const std::string& key) { pressed.push_back("suite:" + key); };
  f.Show();
  grid.SetFocus();

  // The suite's toolbar shows the buttons: the press is its own.
  suite.setToolbar(&tbr);
  tbr.setVisible(false);
  f.userKey(vbKeyReturn, 0, 13);
  f.userKey(vbKeyEscape, 0, 27);
  // The toolbar shows itself; a disabled default button is not pressed.
  suite.setVisible(false);
  tbr.setVisible(true);
  f.userKey(vbKeyEscape, 0, 27);
  tbr.setButtonEnabled("ok", false);
  f.userKey(vbKeyReturn, 0, 13);
  EXPECT_EQ(pressed, (std::vector<std::string>{"suite:ok", "suite:cancel", "tbr:cancel"}));

  // A command button that is the form's default comes first.
  auto& cmdOk = f.add<CommandButton>("cmdOk", {4800, 3700, 1100, 300}, "确定");
  cmdOk.setDefault(true);
  cmdOk.Click = [&] { pressed.push_back("cmdOk"); };
  tbr.setButtonEnabled("ok", true);
  f.userKey(vbKeyReturn, 0, 13);
  EXPECT_EQ(pressed.back(), "cmdOk");
  f.Unload();
}

// Declared out of the order they stand in: Tab still goes row by row, into the frame where it
// stands, and past the controls of the tab strip's hidden page.
class frmOrder : public DialogShell {
 public:
  frmOrder() : DialogShell("frmOrder", "次序", 8000, 6000, HandlerErrors::Propagate) {}
  CommandButton& cmdOk = add<CommandButton>("cmdOk", {6000, 5400, 1100, 350}, "确定");
  TextBox& txtRight = add<TextBox>("txtRight", {4000, 130, 1500, 300});
  Frame& Frame1 = add<Frame>("Frame1", {120, 600, 7600, 800}, "过滤");
  TextBox& txtInFrame = add<TextBox>("txtInFrame", {200, 300, 1500, 300, &Frame1});
  TextBox& txtLeft = add<TextBox>("txtLeft", {120, 100, 1500, 300});
  CorvidXTabStrip& SSTab1 =
      add<CorvidXTabStrip>("SSTab1", {120, 1600, 7600, 3600}, std::vector<std::string>{"一", "二"});
  MsSuperGrid& grdOne = add<MsSuperGrid>("grdOne", {60, 400, 7400, 3000, &SSTab1, 0});
  MsSuperGrid& grdTwo = add<MsSuperGrid>("grdTwo", {60, 400, 7400, 3000, &SSTab1, 1});
};

TEST(FormKeysTest, TabGoesTheWayTheControlsStand) {
  frmOrder f;
  f.Show();
  std::vector<std::string> visited{f.ActiveControl()->Name()};
  for (int i = 0; i < 6; ++i) {
    f.userKey(vbKeyTab, 0, 0);
    visited.push_back(f.ActiveControl()->Name());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"txtLeft", "txtRight", "txtInFrame", "SSTab1",
                                               "grdOne", "cmdOk", "txtLeft"}));
  f.SSTab1.setTab(1);
  f.grdTwo.SetFocus();
  f.userKey(vbKeyTab, vbShiftMask, 0);
  EXPECT_EQ(f.ActiveControl(), &f.SSTab1);
  // The dialog has no cancel button: Esc leaves it as its close box does.
  f.userKey(vbKeyEscape, 0, 27);
  EXPECT_FALSE(f.Loaded());
}

TEST(FormKeysTest, ColumnsTellWhetherTheFormGaveTheirWidth) {
  MsSuperGrid grid("grid", 1, 3);
  EXPECT_FALSE(grid.ColWidthSet(1));
  EXPECT_EQ(grid.ColWidth(1), MsSuperGrid::kDefaultColWidth);
  grid.setColWidth(1, MsSuperGrid::kDefaultColWidth);  // the default width, given on purpose
  EXPECT_TRUE(grid.ColWidthSet(1));
  grid.setCols(5);
  EXPECT_FALSE(grid.ColWidthSet(4));

  ListView list("list");
  list.addColumn("名称");
  list.addColumn("编码", 900);
  EXPECT_FALSE(list.column(1).widthSet);
  EXPECT_EQ(list.column(1).width, ColumnHeader::kDefaultWidth);
  EXPECT_TRUE(list.column(2).widthSet);
  list.setColumnWidth(1, 0);
  EXPECT_TRUE(list.column(1).widthSet);
}

}  // namespace
}  // namespace quillon::forms
