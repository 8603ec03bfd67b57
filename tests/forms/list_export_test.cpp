// What leaves a list for a spreadsheet: the CSV file and the clipboard's tab-separated rows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/field_captions.h"
#include "forms/list_export.h"
#include "forms/row_source.h"
#include "support/scratch_dir.h"

namespace quillon::forms {
namespace {

class VectorRows : public RowSource {
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

using test_support::fileText;

// A grid of three data rows: a hidden column, a hidden row, a mark, and cells a CSV must quote.
void fillGrid(MsSuperGrid& grid) {
  grid.setRows(4);
  grid.setCols(4);
  grid.setTextMatrix(1, 0, "存货编码");
  grid.setTextMatrix(2, 0, "AutoID");
  grid.setColWidth(2, 0);
  grid.setTextMatrix(3, 0, "备注");
  const std::vector<std::vector<std::string>> rows = {
      {"0101", "11", "含,逗号"}, {"0102", "12", "说 \"好\""}, {"0103", "13", "两\n行"}};
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 3; ++c) grid.setTextMatrix(c, r, rows[r - 1][c - 1]);
  }
}

TEST(ListExportTest, GridTableLeavesOutTheMarkColumnAndWhatIsHidden) {
  MsSuperGrid grid("grid");
  fillGrid(grid);
  grid.setRowHeight(2, 0);
  const auto all = listTable(grid, ListRows::All);
  ASSERT_TRUE(all);
  EXPECT_EQ(all->captions, (std::vector<std::string>{"存货编码", "备注"}));
  ASSERT_EQ(all->rows.size(), 2u);
  EXPECT_EQ(all->rows[1], (std::vector<std::string>{"0103", "两\n行"}));

  // Chosen rows: the marked ones that show (a hidden marked row is not chosen) ...
  grid.setMarked(2, true);
  grid.setMarked(3, true);
  auto chosen = listTable(grid, ListRows::Chosen);
  ASSERT_EQ(chosen->rows.size(), 1u);
  EXPECT_EQ(chosen->rows[0][0], "0103");
  // ... else the current row.
  grid.setMarked(3, false);
  grid.setRow(1);
  chosen = listTable(grid, ListRows::Chosen);
  ASSERT_EQ(chosen->rows.size(), 1u);
  EXPECT_EQ(chosen->rows[0][0], "0101");

  TextBox box("txt");
  EXPECT_FALSE(listTable(box, ListRows::All));
  EXPECT_FALSE(copyChosenRows(box));
}

TEST(ListExportTest, CsvIsUtf8WithBomAndQuotesWhatNeedsIt) {
  MsSuperGrid grid("grid");
  fillGrid(grid);
  const std::string csv = csvText(*listTable(grid, ListRows::All));
  EXPECT_EQ(csv,
            "\xEF\xBB\xBF存货编码,备注\r\n0101,\"含,逗号\"\r\n0102,\"说 \"\"好\"\"\"\r\n"
            "0103,\"两\n行\"\r\n");

  const auto dir = std::filesystem::temp_directory_path() / "quillon_list_export_test";
  std::filesystem::create_directories(dir);
  const auto file = dir / "清单.csv";
  EXPECT_EQ(writeCsvFile(file.string(), *listTable(grid, ListRows::All)), std::nullopt);
  EXPECT_EQ(fileText(file), csv);
  // A file that cannot be written is an error naming it, and the old file stays whole.
  const auto error =
      writeCsvFile((dir / "no_such_folder" / "x.csv").string(), *listTable(grid, ListRows::All));
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("no_such_folder"), std::string::npos);
  EXPECT_TRUE(writeCsvFile("", *listTable(grid, ListRows::All)));
  EXPECT_EQ(fileText(file), csv);
  EXPECT_FALSE(std::filesystem::exists(dir / "清单.csv.part"));
  std::filesystem::remove_all(dir);
}

TEST(ListExportTest, CtrlCCopiesTheChosenRowsOfEveryKindOfList) {
  std::vector<std::string> sunk;
  setClipboardSink([&](const std::string& text) { sunk.push_back(text); });

  MsSuperGrid grid("grid");
  fillGrid(grid);
  grid.setMarked(1, true);
  grid.setMarked(3, true);
  EXPECT_TRUE(grid.defaultKeyDown('C', vbCtrlMask));
  // A tab or line break inside a cell would move the cells after it when pasted.
  EXPECT_EQ(clipboardText(), "存货编码\t备注\r\n0101\t含,逗号\r\n0103\t两 行\r\n");
  EXPECT_EQ(sunk.size(), 1u);
  // Plain C is no copy, and Space still marks.
  EXPECT_FALSE(grid.defaultKeyDown('C', 0));
  EXPECT_EQ(sunk.size(), 1u);

  ListView list("list");
  list.setCheckboxes(true);
  list.addColumn("单据号");
  list.addColumn("内部", 0);
  list.addColumn("日期");
  auto& a = list.addItem("A01");
  a.setSubItem(1, "x");
  a.setSubItem(2, "2026-12-01");
  list.addItem("A02").setSubItem(2, "2026-12-02");
  list.setSelectedItem(&list.item(2));
  EXPECT_TRUE(list.defaultKeyDown('C', vbCtrlMask));
  EXPECT_EQ(clipboardText(), "单据号\t日期\r\nA02\t2026-12-02\r\n");
  a.setChecked(true);
  EXPECT_TRUE(list.defaultKeyDown('C', vbCtrlMask));
  EXPECT_EQ(clipboardText(), "单据号\t日期\r\nA01\t2026-12-01\r\n");

  MarlinVouchList vouch("vouch");
  vouch.setColumnDefinitions("MainID,ID,0;cCode,单据号,1200;fQuantity,数量,900");
  auto source = std::make_shared<VectorRows>();
  source->fields = {"mainid", "ccode", "fquantity"};
  source->rows = {{"7", "V1", "1.00"}, {"8", "V2", "2.00"}};
  vouch.bind(source);
  vouch.setMarked(2, true);
  EXPECT_TRUE(vouch.defaultKeyDown('C', vbCtrlMask));
  EXPECT_EQ(clipboardText(), "单据号\t数量\r\nV2\t2.00\r\n");
  EXPECT_EQ(csvText(*listTable(vouch, ListRows::All)),
            "\xEF\xBB\xBF单据号,数量\r\nV1,1.00\r\nV2,2.00\r\n");
  setClipboardSink({});
}

// A query's columns named by their fields leave under the captions a clerk reads; a row key the
// list keeps for its rules never leaves, whatever width the form gave it.
TEST(ListExportTest, FieldNamesLeaveUnderTheirCaptionsAndRowKeysStayBehind) {
  MsSuperGrid grid("grid");
  grid.setRows(2);
  grid.setCols(5);
  const char* const captions[] = {"批号", "AutoID", "cWhCode", "cinvcode"};
  const char* const cells[] = {"B2610-01", "7", "01", "0101003"};
  for (int c = 1; c <= 4; ++c) {
    grid.setTextMatrix(c, 0, captions[c - 1]);
    grid.setTextMatrix(c, 1, cells[c - 1]);
  }
  const auto table = listTable(grid, ListRows::All);
  ASSERT_TRUE(table);
  EXPECT_EQ(table->captions, (std::vector<std::string>{"批号", "仓库编码", "存货编码"}));
  EXPECT_EQ(table->rows.at(0), (std::vector<std::string>{"B2610-01", "01", "0101003"}));
  // The grid itself still names its columns by their fields.
  EXPECT_EQ(grid.TextMatrix(3, 0), "cWhCode");
  EXPECT_EQ(grid.TextMatrix(2, 1), "7");

  ListView list("list");
  list.addColumn("cCusCode");
  list.addColumn("iId");
  list.addColumn("cCCCode");
  list.addItem("C01").setSubItem(2, "01");
  EXPECT_EQ(listTable(list, ListRows::All)->captions,
            (std::vector<std::string>{"客户编码", "客户分类编码"}));
}

TEST(FieldCaptionsTest, KnownFieldsReadInChineseAndOthersAsTheyAre) {
  EXPECT_EQ(shownCaption("cCusName"), "客户名称");
  EXPECT_EQ(shownCaption("CDCCODE"), "地区分类编码");
  EXPECT_EQ(shownCaption("cInvDefine12"), "自定义项12");
  EXPECT_EQ(shownCaption("cInvDefine"), "cInvDefine");
  EXPECT_EQ(shownCaption("cInvDefineX"), "cInvDefineX");
  EXPECT_EQ(shownCaption("结存数量"), "结存数量");
  EXPECT_EQ(shownCaption(""), "");
  EXPECT_TRUE(isInternalKey("autoid"));
  EXPECT_FALSE(isInternalKey("AutoIDs"));
  EXPECT_FALSE(isInternalKey("ichkautoid"));
  EXPECT_EQ(amountKindOf("累计出库数量"), AmountKind::Quantity);
  EXPECT_EQ(amountKindOf("出库件数"), AmountKind::Pieces);
  EXPECT_EQ(amountKindOf("数量本次"), AmountKind::None);
}

}  // namespace
}  // namespace quillon::forms
