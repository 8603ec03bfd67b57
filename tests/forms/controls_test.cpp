#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/com_error.h"
#include "automation/vb_format.h"
#include "forms/controls.h"

namespace quillon::forms {
namespace {

using automation::ComError;

TEST(ControlsTest, CaptionAcceleratorIsSplitFromTheShownText) {
  EXPECT_EQ(parseCaption("确定(&O)").text, "确定(O)");
  EXPECT_EQ(parseCaption("确定(&O)").accelerator, 'O');
  EXPECT_EQ(parseCaption("表头全选(&h)").accelerator, 'H');
  EXPECT_EQ(parseCaption("A && B").text, "A & B");
  EXPECT_EQ(parseCaption("A && B").accelerator, 0);
  EXPECT_EQ(parseCaption("trailing&").text, "trailing&");
}

TEST(ControlsTest, PropertyChangesAreAnnouncedOnlyWhenTheValueChanges) {
  TextBox box("txt");
  std::vector<std::string> changes;
  const auto id = box.propertyChanged.connect(
      [&](Control&, std::string_view property) { changes.emplace_back(property); });
  box.setVisible(false);
  box.setVisible(false);
  box.setLinkItem("01,02");
  box.setText("abc");
  EXPECT_EQ(changes, (std::vector<std::string>{"Visible", "LinkItem", "Selection", "Text"}));
  box.propertyChanged.disconnect(id);
  box.setEnabled(false);
  EXPECT_EQ(changes.size(), 4u);
}

TEST(ControlsTest, TextBoxEditingKeepsMaxLengthLockAndSelection) {
  TextBox box("txt");
  int changes = 0;
  box.Change = [&] { ++changes; };
  box.setMaxLength(3);
  for (int ch : {int{'a'}, int{'b'}, 0x4E2D, int{'d'}}) box.defaultKeyPress(ch);
  EXPECT_EQ(box.Text(), "ab中");  // the fourth character is refused: three characters, not bytes
  EXPECT_EQ(changes, 3);
  box.setSelStart(1);
  box.setSelLength(1);
  EXPECT_EQ(box.SelText(), "b");
  box.defaultKeyPress('X');
  EXPECT_EQ(box.Text(), "aX中");
  box.defaultKeyDown(vbKeyHome, 0);
  box.defaultKeyDown(vbKeyEnd, vbShiftMask);
  EXPECT_EQ(box.SelLength(), 3);
  box.defaultKeyPress(vbKeyBack);
  EXPECT_EQ(box.Text(), "");
  box.setLocked(true);
  box.defaultKeyPress('z');
  EXPECT_EQ(box.Text(), "");
  // Code may set a text longer than MaxLength, as on the platform.
  box.setText("abcdef");
  EXPECT_EQ(box.Text(), "abcdef");
}

TEST(ControlsTest, ComboBoxDropDownListSelectsItemsOnly) {
  ComboBox combo("cmb");
  std::vector<std::string> clicks;
  combo.Click = [&] { clicks.push_back(combo.Text()); };
  combo.AddItem("");
  combo.AddItem("普通采购");
  combo.AddItem("受托代销");
  EXPECT_TRUE(combo.userChoose("受托代销"));
  EXPECT_EQ(combo.ListIndex(), 2);
  EXPECT_FALSE(combo.userChoose("不存在"));
  EXPECT_THROW(combo.setText("不存在"), ComError);
  combo.setText("普通采购");
  EXPECT_EQ(combo.ListIndex(), 1);
  combo.RemoveItem(0);
  EXPECT_EQ(combo.ListIndex(), 0);
  EXPECT_EQ(combo.Text(), "普通采购");
  EXPECT_EQ(clicks, (std::vector<std::string>{"受托代销", "普通采购"}));
  EXPECT_TRUE(combo.defaultKeyPress('x'));  // swallowed: a list cannot be typed into
  EXPECT_EQ(combo.Text(), "普通采购");
  EXPECT_THROW(combo.setListIndex(5), ComError);
}

TEST(ControlsTest, ListViewKeysIndexesAndCurrentItem) {
  ListView list("lst");
  list.setCheckboxes(true);
  list.addColumn("选择");
  list.addColumn("编码", 0);
  auto& first = list.addItem("10", "1k");
  first.setSubItem(1, "A01");
  list.addItem("20", "2k");
  EXPECT_THROW(list.addItem("30", "1k"), ComError);
  EXPECT_EQ(list.itemByKey("2k")->Index(), 2);
  EXPECT_EQ(list.cellText(1, 2), "A01");
  EXPECT_EQ(list.cellText(2, 2), "");
  EXPECT_EQ(list.column(2).width, 0);
  EXPECT_EQ(list.columnByText("编码"), 2);
  EXPECT_THROW(list.item(3), ComError);

  std::vector<std::string> events;
  list.ItemCheck = [&](ListItem& i) {
    events.push_back("check " + i.Key() + (i.Checked() ? "+" : "-"));
  };
  list.ItemClick = [&](ListItem& i) { events.push_back("click " + i.Key()); };
  EXPECT_TRUE(list.userCheck(2));
  EXPECT_EQ(list.cellText(2, 0), "Y");
  EXPECT_EQ(list.SelectedItem(), nullptr);  // checking does not make a row current
  EXPECT_TRUE(list.userClickItem(1));
  EXPECT_EQ(list.SelectedItem(), &first);
  list.item(2).setSelected(true);
  EXPECT_FALSE(first.Selected());
  list.item(2).setChecked(false);  // from code: no event
  EXPECT_FALSE(list.userCheck(9));
  EXPECT_EQ(events, (std::vector<std::string>{"check 2k+", "click 1k"}));
  list.removeItem(2);
  EXPECT_EQ(list.SelectedItem(), nullptr);
  EXPECT_EQ(list.item(1).Index(), 1);
}

TEST(ControlsTest, TreeViewParentsChildrenAndRemoval) {
  TreeView tree("tree");
  tree.setCheckboxes(true);
  auto& root = tree.addNode(nullptr, "mRoot", "存货", "folder");
  tree.addChild("mRoot", "K01", "原料");
  tree.addChild("K01", "K0101", "钢材");
  tree.addChild("mRoot", "K02", "成品");
  EXPECT_THROW(tree.addChild("mRoot", "K02", "dup"), ComError);
  EXPECT_THROW(tree.addChild("nope", "K09", "x"), ComError);
  EXPECT_EQ(root.Children(), 2);
  EXPECT_EQ(tree.node("K0101").Parent()->Key(), "K01");
  EXPECT_EQ(tree.node("K0101").level(), 2);
  std::vector<std::string> checks;
  tree.NodeCheck = [&](Node& n) { checks.push_back(n.Key()); };
  EXPECT_TRUE(tree.userCheckNode("K01", true));
  EXPECT_TRUE(tree.userCheckNode("K01", true));  // no change, no event
  EXPECT_TRUE(tree.userClickNode("K0101"));
  tree.removeNode("K01");
  EXPECT_EQ(tree.count(), 2);
  EXPECT_EQ(tree.findNode("K0101"), nullptr);
  EXPECT_EQ(tree.SelectedItem(), nullptr);
  EXPECT_EQ(root.Children(), 1);
  EXPECT_EQ(checks, std::vector<std::string>{"K01"});
}

TEST(ControlsTest, SuperGridCellsByColumnThenRowWithCaptionsAndMarks) {
  MsSuperGrid grid("spg", 1, 4);
  grid.setTextMatrix(1, 0, "批号");
  grid.setRows(3);
  grid.setTextMatrix(2, 1, "B1");
  EXPECT_EQ(grid.TextMatrix(2, 1), "B1");
  EXPECT_EQ(grid.TextMatrix(1, 2), "");
  EXPECT_THROW(grid.TextMatrix(4, 0), ComError);
  EXPECT_THROW(grid.setTextMatrix(0, 3, "Y"), ComError);
  EXPECT_EQ(grid.colByCaption("批号"), 1);
  EXPECT_EQ(grid.colByCaption("无"), -1);
  grid.setRowHeight(2, 0);
  EXPECT_EQ(grid.visibleDataRows(), 1);
  grid.setRows(1);  // only the captions stay
  EXPECT_EQ(grid.visibleDataRows(), 0);
  EXPECT_EQ(grid.TextMatrix(1, 0), "批号");
  grid.setRows(2);
  EXPECT_EQ(grid.TextMatrix(2, 1), "");  // rows added again start empty

  int announced = 0;
  grid.propertyChanged.connect(
      [&](Control&, std::string_view p) { announced += p == "Cell" || p == "Redraw"; });
  grid.setRedraw(false);
  for (int c = 1; c < 4; ++c) grid.setTextMatrix(c, 1, "x");
  grid.setRedraw(true);
  EXPECT_EQ(announced, 1);
}

// Rows bound to a source are read from it only where they are looked at; what is written to
// them (or pinned) wins over the source from then on, and resizing or clearing the grid lets go
// of the source.
TEST(ControlsTest, SuperGridBoundRowsReadOnDemandAndKeepWhatIsWritten) {
  struct Source : CellSource {
    mutable int reads = 0;
    std::string suffix = "";
    std::string cellText(int index, int col) const override {
      ++reads;
      return col == 0 ? std::string() : std::to_string(index) + ":" + std::to_string(col) + suffix;
    }
  };
  auto source = std::make_shared<Source>();
  MsSuperGrid grid("spg", 1, 3);
  grid.setTextMatrix(1, 0, "批号");
  grid.bindRows(source, 100000);
  EXPECT_EQ(grid.Rows(), 100001);
  EXPECT_EQ(source->reads, 0);
  EXPECT_EQ(grid.TextMatrix(1, 0), "批号");
  EXPECT_EQ(grid.TextMatrix(2, 100000), "99999:2");
  EXPECT_EQ(grid.TextMatrix(0, 5), "");
  EXPECT_EQ(source->reads, 2);

  grid.setTextMatrix(0, 5, "Y");
  grid.setTextMatrix(1, 5, "own");
  grid.pinCell(2, 5);
  grid.pinCell(2, 0);  // captions are not bound: nothing to keep
  source->suffix = "'";
  EXPECT_EQ(grid.TextMatrix(0, 5), "Y");
  EXPECT_EQ(grid.TextMatrix(1, 5), "own");
  EXPECT_EQ(grid.TextMatrix(2, 5), "4:2");
  EXPECT_EQ(grid.TextMatrix(2, 6), "5:2'");
  EXPECT_TRUE(grid.userEditCell(6, 2, "edited"));
  EXPECT_EQ(grid.TextMatrix(2, 6), "edited");

  grid.setCols(2);  // a written cell of a dropped column does not come back
  grid.setCols(3);
  EXPECT_EQ(grid.TextMatrix(2, 6), "5:2'");
  grid.setRows(11);
  EXPECT_EQ(grid.TextMatrix(1, 10), "9:1'");
  grid.setRows(12);
  EXPECT_EQ(grid.TextMatrix(1, 11), "");  // grown rows are plain rows
  grid.Clear();
  EXPECT_EQ(grid.TextMatrix(1, 10), "");
  EXPECT_EQ(grid.TextMatrix(1, 0), "");
  grid.bindRows(source, 3);
  grid.setRows(1);
  grid.setRows(3);
  EXPECT_EQ(grid.TextMatrix(1, 1), "");
}

// Cells of bound rows written as short texts, long texts (rewritten often enough for the store to
// be compacted) and numbers read back as written; a number is shown through its format when the
// cell is read, a number in a second format of its column as its text, and shrinking the grid
// keeps what the remaining rows hold.
TEST(ControlsTest, SuperGridWrittenCellsOfBoundRows) {
  struct Source : CellSource {
    std::string cellText(int index, int col) const override {
      return col == 0 ? std::string() : "src" + std::to_string(index);
    }
  };
  MsSuperGrid grid("spg", 1, 3);
  grid.bindRows(std::make_shared<Source>(), 5000);
  const automation::NumberFormat twoPlaces("#,##0.00");
  for (int round = 0; round < 3; ++round) {
    for (int row = 1; row <= 5000; ++row) {
      grid.setMarked(row, row % 2 == 0);
      grid.setTextMatrix(1, row, "a longer text " + std::to_string(row + round));
      grid.setNumberMatrix(2, row, row * 1000.5, twoPlaces);
    }
  }
  EXPECT_TRUE(grid.isMarked(4));
  EXPECT_FALSE(grid.isMarked(5));
  EXPECT_EQ(grid.TextMatrix(0, 4), "Y");
  EXPECT_EQ(grid.TextMatrix(1, 4999), "a longer text 5001");
  EXPECT_EQ(grid.TextMatrix(2, 3), "3,001.50");
  EXPECT_FALSE(grid.cellFromSource(2, 3));
  grid.setNumberMatrix(2, 3, 2.5, automation::NumberFormat("0.0"));
  EXPECT_EQ(grid.TextMatrix(2, 3), "2.5");
  grid.setTextMatrix(2, 7, "1234567");
  EXPECT_EQ(grid.TextMatrix(2, 7), "1234567");
  grid.setRows(11);
  EXPECT_EQ(grid.TextMatrix(2, 10), "10,005.00");
  EXPECT_EQ(grid.TextMatrix(1, 10), "a longer text 12");
  EXPECT_EQ(grid.sourceText(1, 10), "src9");
}

TEST(ControlsTest, SuperGridEditsRunCellChangeWithTextByReference) {
  MsSuperGrid grid("spg", 3, 3);
  grid.setColLock(2, true);
  grid.setColMaxLength(1, 4);
  std::vector<std::string> seen;
  grid.CellChange = [&](std::string& text, bool& cancel, int row, int col) {
    seen.push_back(std::to_string(row) + "," + std::to_string(col) + ":" + text);
    if (text == "bad") cancel = true;
    if (text == "5") text = "5.00";
  };
  EXPECT_TRUE(grid.userEditCell(1, 1, "5"));
  EXPECT_EQ(grid.TextMatrix(1, 1), "5.00");
  EXPECT_TRUE(grid.userEditCell(2, 1, "bad"));
  EXPECT_EQ(grid.TextMatrix(1, 2), "");
  EXPECT_TRUE(grid.userEditCell(2, 1, "123456"));
  EXPECT_EQ(grid.TextMatrix(1, 2), "1234");
  EXPECT_FALSE(grid.userEditCell(1, 2, "x"));  // locked column
  EXPECT_FALSE(grid.userEditCell(0, 1, "x"));  // captions are fixed
  EXPECT_FALSE(grid.userEditCell(1, 0, "Y"));  // so is the mark column
  // An edit in progress is committed by FinishEdit, once.
  EXPECT_TRUE(grid.userBeginEdit(2, 1));
  grid.userEditText("7");
  grid.FinishEdit();
  grid.FinishEdit();
  EXPECT_EQ(grid.TextMatrix(1, 2), "7");
  EXPECT_EQ(seen, (std::vector<std::string>{"1,1:5", "2,1:bad", "2,1:1234", "2,1:7"}));
}

class VectorSource : public RowSource {
 public:
  std::vector<std::string> fields;
  std::vector<std::vector<std::string>> rows;
  int fieldCount() const override { return static_cast<int>(fields.size()); }
  std::string fieldName(int f) const override { return fields[static_cast<std::size_t>(f)]; }
  int rowCount() const override { return static_cast<int>(rows.size()); }
  std::string text(int r, int f) const override {
    return rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(f)];
  }
};

TEST(ControlsTest, VouchListDefinitionsBindingAndMarks) {
  MarlinVouchList list("VouchListB");
  EXPECT_THROW(list.setColumnDefinitions("MainID,选择"), ComError);
  EXPECT_THROW(list.setColumnDefinitions("MainID,选择,wide"), ComError);
  list.setColumnDefinitions("MainID, 选择 ,0\ncInvCode,存货编码,1200;fQuantity,数量,900,#,##0.00");
  ASSERT_EQ(list.Cols(), 4);
  EXPECT_EQ(list.TextMatrix(0, 2), "存货编码");
  EXPECT_EQ(list.columns()[0].caption, "选择");
  EXPECT_EQ(list.columns()[2].format, "#,##0.00");
  auto source = std::make_shared<VectorSource>();
  source->fields = {"cinvcode", "mainid", "cMemo"};
  source->rows = {{"A01", "7", "x"}, {"A02", "8", "y"}};
  list.bind(source);
  EXPECT_EQ(list.Rows(), 3);
  EXPECT_EQ(list.TextMatrix(2, list.colIndex("MAINID")), "8");
  EXPECT_EQ(list.TextMatrix(1, list.colIndex("fQuantity")), "");
  EXPECT_EQ(list.colIndex("cMemo"), -1);
  std::vector<int> marks;
  list.RowMarkChanged = [&](int row) { marks.push_back(row * (list.Marked(row) ? 1 : -1)); };
  EXPECT_TRUE(list.userMark(2));
  EXPECT_TRUE(list.userMark(2));
  EXPECT_TRUE(list.userMark(1));
  EXPECT_FALSE(list.userMark(3));
  EXPECT_EQ(marks, (std::vector<int>{2, -2, 1}));
  EXPECT_EQ(list.markedCount(), 1);
  list.Clear();
  EXPECT_EQ(list.Rows(), 1);
  EXPECT_EQ(list.Cols(), 4);
}

TEST(ControlsTest, TabStripClickPassesThePreviousTab) {
  CorvidXTabStrip tabs("SSTab1", {"订单", "存货", "明细"});
  std::vector<int> previous;
  tabs.Click = [&](int prev) { previous.push_back(prev); };
  EXPECT_TRUE(tabs.userSelectTab(2));
  tabs.setTab(1);  // code changes the tab the same way
  tabs.setTab(1);
  tabs.setTabEnabled(0, false);
  EXPECT_FALSE(tabs.userSelectTab(0));
  EXPECT_FALSE(tabs.userSelectTab(3));
  EXPECT_THROW(tabs.setTab(3), ComError);
  EXPECT_EQ(previous, (std::vector<int>{0, 2}));
  EXPECT_EQ(tabs.displayText(), "存货");
  EXPECT_EQ("请选择" + tabs.TabCaption(2) + "！", "请选择明细！");
}

TEST(ControlsTest, ToolbarsPressButtonsByKey) {
  Toolbar bar("tbrTool");
  bar.addButton("Ok", "确定", "tlbok");
  bar.addButton("", "", "", ToolbarButton::tbrSeparator);
  bar.addButton("tlbSelAll", "全选", "", ToolbarButton::tbrCheck);
  EXPECT_THROW(bar.addButton("Ok"), ComError);
  CTBCtrl ctb("CTBCtrl1");
  std::vector<std::string> keys;
  ctb.ButtonClick = [&](const std::string& key) { keys.push_back(key); };
  EXPECT_FALSE(ctb.userPress("Ok"));  // not attached yet
  ctb.setToolbar(&bar);
  EXPECT_TRUE(ctb.userPress("tlbSelAll"));
  EXPECT_EQ(bar.button("tlbSelAll").value, 1);
  EXPECT_TRUE(ctb.userPress("tlbSelAll"));
  EXPECT_EQ(bar.button("tlbSelAll").value, 0);
  bar.setButtonEnabled("Ok", false);
  EXPECT_FALSE(ctb.userPress("Ok"));
  EXPECT_FALSE(ctb.userPress("missing"));
  EXPECT_EQ(keys, (std::vector<std::string>{"tlbSelAll", "tlbSelAll"}));
}

TEST(ControlsTest, NumberFieldsRefuseWhatIsNotANumber) {
  NumericEdit edit("edtInvQuantity");
  edit.setDecimalPlaces(2);
  for (char c : std::string("-12a.3.456")) edit.defaultKeyPress(c);
  EXPECT_EQ(edit.Text(), "-12.34");
  EXPECT_DOUBLE_EQ(edit.value(), -12.34);
  edit.setText("1,234.5");
  EXPECT_DOUBLE_EQ(edit.value(), 1234.5);

  HeadItem item("hdiQuantity", "数量");
  item.setDecimalPlaces(0);
  std::vector<std::string> seen;
  item.Change = [&](bool& cancel) {
    seen.push_back(item.Text());
    cancel = item.Text() == "19";
  };
  for (char c : std::string("1.9")) item.defaultKeyPress(c);
  EXPECT_EQ(item.Text(), "1");  // "." refused without decimals, "19" cancelled by the handler
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "19"}));
  item.setActive(false);
  item.defaultKeyPress('2');
  EXPECT_EQ(item.Text(), "1");
  EXPECT_FALSE(item.canFocus());
}

TEST(ControlsTest, SignalSlotsMayDisconnectWhileEmitting) {
  Signal<int> signal;
  std::vector<int> seen;
  std::size_t first = 0;
  first = signal.connect([&](int v) {
    seen.push_back(v);
    signal.disconnect(first);
  });
  signal.connect([&](int v) {
    seen.push_back(v * 10);
    signal.connect([&](int w) { seen.push_back(w * 100); });  // runs from the next emit on
  });
  signal.emit(1);
  signal.emit(2);
  EXPECT_EQ(seen, (std::vector<int>{1, 10, 20, 200}));
  EXPECT_EQ(signal.size(), 3u);
}

TEST(ControlsTest, EditableComboKeepsListIndexInStepWithTheText) {
  ComboBox combo("cmbPOID", ComboBox::kDropDownCombo);
  int changes = 0;
  combo.Change = [&] { ++changes; };
  combo.AddItem("PO1");
  for (char c : std::string("PO1")) combo.defaultKeyPress(c);
  EXPECT_EQ(combo.ListIndex(), 0);
  combo.defaultKeyPress(vbKeyBack);
  EXPECT_EQ(combo.Text(), "PO");
  EXPECT_EQ(combo.ListIndex(), -1);
  combo.setText("free text");
  EXPECT_EQ(changes, 5);
  combo.userClearText();
  EXPECT_EQ(combo.Text(), "");
}

TEST(ControlsTest, MenusStatusBarAndImageList) {
  Menu pop("MnuZYJCD", "子项右键菜单");
  Menu item("MnuClearCAll", "清除所有选中行", &pop);
  pop.setVisible(false);
  int clicks = 0;
  item.Click = [&] { ++clicks; };
  EXPECT_TRUE(item.choosable());  // a hidden top level is a pop-up: its items still work
  EXPECT_TRUE(item.userChoose());
  item.setEnabled(false);
  EXPECT_FALSE(item.userChoose());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(item.topLevel(), &pop);
  EXPECT_EQ(pop.items(), std::vector<Menu*>{&item});

  StatusBar bar("StatusBar1");
  bar.addPanel("共3条");
  EXPECT_EQ(bar.displayText(), "共3条");
  bar.setStyle(StatusBar::sbrSimple);
  bar.setSimpleText("第2条");
  EXPECT_EQ(bar.displayText(), "第2条");
  EXPECT_THROW(bar.setPanelText(2, "x"), ComError);

  ImageList images("ImageList1");
  images.add("folder", "219");
  EXPECT_THROW(images.add("folder", "1108"), ComError);
  EXPECT_EQ(images.image("folder").picture, "219");
  EXPECT_EQ(images.indexOf("nope"), 0);
  EXPECT_THROW(images.image("nope"), ComError);
}

// The status line under a list: nothing before it is filled, "no matching records" for a filled
// list without rows, else the rows a person sees and the marked ones among them.
TEST(ControlsTest, StatusLinesCountShownAndMarkedRows) {
  MsSuperGrid grid("grid", 1, 3);
  EXPECT_EQ(grid.statusText(), "");
  grid.setTextMatrix(1, 0, "单据号");
  EXPECT_EQ(grid.statusText(), "没有符合条件的记录");
  grid.setRows(5);
  grid.setMarked(1, true);
  grid.setMarked(3, true);
  grid.setRowHeight(3, 0);  // a hidden row is no row to a person, marked or not
  EXPECT_EQ(grid.statusText(), "共 3 行，已选 1 行");
  grid.StatusLine = [&grid] { return grid.rowsStatus() + "，另有说明"; };
  EXPECT_EQ(grid.statusText(), "共 3 行，已选 1 行，另有说明");

  ListView list("list");
  EXPECT_EQ(list.statusText(), "");
  list.setCheckboxes(true);
  list.addColumn("单据号");
  EXPECT_EQ(list.statusText(), "没有符合条件的记录");
  list.addItem("A");
  list.addItem("B").setChecked(true);
  EXPECT_EQ(list.statusText(), "共 2 行，已选 1 行");

  MarlinVouchList vouch("vouch");
  EXPECT_EQ(vouch.statusText(), "");
  vouch.setColumnDefinitions("cCode,单据号,1200");
  EXPECT_EQ(vouch.statusText(), "没有符合条件的记录");

  TextBox box("txt");
  EXPECT_EQ(box.statusText(), std::nullopt);
}

}  // namespace
}  // namespace quillon::forms
