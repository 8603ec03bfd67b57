// Dialog words on a small form: control properties with every
// comparison, grid cell buttons, the filter dialog, a modeless form worked by its own block, the
// message, lookup and registry expectations, and what each says when it does not hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "forms/list_export.h"
#include "forms/menu.h"
#include "more_words_form.h"
#include "platform/registry.h"
#include "script/script_parser.h"
#include "script/script_runner.h"
#include "support/scratch_dir.h"
#include "support/text_checks.h"

namespace quillon::script {

using namespace forms;
namespace {

using forms::testing::frmMore;

// `call $dlg.show` shows a fresh frmMore modally, the way a public class shows its dialog.
class SecondRunner : public ScriptRunner {
 public:
  std::vector<std::unique_ptr<frmMore>> forms;

 protected:
  void onCall(const CallLine&, SourcePos) override {
    forms.push_back(std::make_unique<frmMore>());
    forms.back()->Show(vbModal);
  }
};

using test_support::has;

TEST(ScriptedMoreWordsTest, PropertiesButtonsFilterLookupAndAModelessForm) {
  SecondRunner runner;
  const RunResult result = runner.runText(forms::testing::kMoreWordsScript);
  ASSERT_TRUE(result.ok) << result.message;
  ASSERT_EQ(runner.forms.size(), 1u);
  const frmMore& form = *runner.forms[0];
  EXPECT_EQ(form.code, "02");
  EXPECT_EQ(form.log, std::vector<std::string>{"grdLines_CellButtonClick:2,2"});
  // The notes form's block ran when it was shown; it stayed open after it, as a person leaves it.
  EXPECT_EQ(form.notes.txtNote.Text(), "看过");
  EXPECT_TRUE(form.notes.Visible());
  const auto& t = runner.host().transcript();
  EXPECT_TRUE(has(t, "filter \"库存过滤\" -> \"cWhCode = '01'\""));
  EXPECT_TRUE(has(t, "filter \"库存过滤\" -> cancel"));
  EXPECT_TRUE(has(t, "form frmNotes shown"));
  EXPECT_FALSE(has(t, "form frmNotes unloaded"));
}

TEST(ScriptedMoreWordsTest, ExpectationsThatDoNotHoldSayWhatWasThere) {
  struct Case {
    const char* block;
    const char* message;
  };
  const Case cases[] = {
      {"  expect txtCode.Enabled = true\n",
       "line 2, column 3: expected txtCode.Enabled = true, found False"},
      {"  expect grdLines.Column[\"存货编码\"].Width < 1200\n",
       "line 2, column 3: expected grdLines.Column[\"存货编码\"].Width < 1200, found 1200"},
      {"  expect treeBins[\"B09\"].Checked = true\n",
       "line 2, column 3: expect treeBins has no node \"B09\""},
      {"  expect grdLines.Column[\"单价\"].Visible = true\n",
       "line 2, column 3: expect grdLines has no column captioned \"单价\""},
      {"  expect lstPick.Column[\"内部\"].Visible <> false\n",
       "line 2, column 3: expected lstPick.Column[\"内部\"].Visible <> false, found False"},
      {"  expect lstPick.Column[\"单价\"].Width = 0\n",
       "line 2, column 3: expect lstPick has no column captioned \"单价\""},
      {"  expect lblWhere.Value = 1\n",
       "line 2, column 3: expect lblWhere has no Value (only check boxes and options have one)"},
      {"  expect cmdOk.Nope = 1\n",
       "line 2, column 16: expected rows, status, Enabled, Visible, Value, Caption, Text, "
       "ListIndex, "
       "Tag or Column[\"CAPTION\"] after \".\""},
      {"  expect txtCode.Text < 5\n", "line 2, column 3: expect \"\" cannot be ordered against 5"},
      {"  expect grdLines[1,1] like \"B*\"\n",
       "line 2, column 3: expected grdLines[1,1] like \"B*\", it reads \"A01\""},
      {"  expect grdLines.rows > 2\n", "line 2, column 3: expected grdLines.rows > 2, it shows 2"},
      {"  click cmdWarn\n  click cmdWarn\n  expect no message\n",
       "line 4, column 3: expected no message box, but 2 were shown; the last said "
       "\"仓库[01]已关闭\\r\\n请重新选择\\r\\n\""},
      {"  click cmdWarn\n  expect message \"仓库[01]已关闭\\r\\n请重新选择\\r\\n\" title "
       "\"提示\"\n",
       "line 3, column 3: expected the message box's title \"提示\", it was \"库存提示\""},
      {"  click cmdWarn\n  expect message like \"*已开启*\"\n",
       "line 3, column 3: expected a message like \"*已开启*\", the last message box said "
       "\"仓库[01]已关闭\\r\\n请重新选择\\r\\n\""},
      {"  expect lookup.rows = 1\n",
       "line 2, column 3: expected lookup.rows = 1, but no lookup list was shown"},
      {"  pick cancel\n  click cmdPick\n  expect lookup.rows <> 3\n",
       "line 4, column 3: expected lookup.rows <> 3, it offered 3"},
      {"  button grdLines 1 1\n", "line 2, column 3: button grdLines shows no button in column 1"},
      {"  button grdLines 5 2\n", "line 2, column 3: button grdLines has no data row 5 (it has 2)"},
      {"  button txtCode 1 1\n",
       "line 2, column 3: button txtCode is not a grid with cell buttons"},
      {"  filter \"x\"\n  click cmdOk\n",
       "line 2, column 3: filter was never used: no such dialog came"},
      {"  sql \"SELECT 1\"\n",
       "line 2, column 3: sql is a host line; this runner has no host "
       "interpreter"},
      {"  expect txtCode.Text = $code\n", "line 2, column 25: $code: this runner has no variables"},
      {"  sort grdLines by \"金额\"\n",
       "line 2, column 3: sort grdLines has no column captioned \"金额\""},
      {"  find chkFilter \"x\"\n", "line 2, column 3: find chkFilter is not a list"},
      {"  export cmdFilter to \"x.csv\"\n", "line 2, column 3: export cmdFilter is not a list"},
      {"  scan grdLines \"A01\"\n", "line 2, column 3: scan grdLines has no scan field"},
  };
  for (const Case& c : cases) {
    SecondRunner runner;
    const std::string script = std::string("on frmMore\n") + c.block + "end\ncall $dlg.show\n";
    const RunResult result = runner.runText(script);
    EXPECT_FALSE(result.ok) << script;
    EXPECT_EQ(result.message, c.message) << script;
    for (const auto& form : runner.forms) EXPECT_FALSE(form->Visible()) << script;
  }
}

TEST(ScriptedMoreWordsTest, NoMessageCountsFromTheBlocksStartOrTheLastMessageExpectation) {
  SecondRunner runner;
  // The box of the first block does not count against the second block's expectation, and the
  // expectation outside a block counts from the last one inside.
  const RunResult result = runner.runText(
      "on frmMore\n  click cmdWarn\n  click cmdOk\nend\n"
      "on frmMore\n  expect no message\n  click cmdOk\nend\n"
      "call $dlg.show\ncall $dlg.show\nexpect no message\n");
  EXPECT_TRUE(result.ok) << result.message;
  SecondRunner after;
  const RunResult late = after.runText(
      "on frmMore\n  click cmdWarn\n  click cmdOk\nend\ncall $dlg.show\nexpect no message\n");
  EXPECT_FALSE(late.ok);
  EXPECT_EQ(late.pos.line, 6);
}

TEST(ScriptedMoreWordsTest, SortShowsTheRowsInAnotherOrderAndExportFollowsIt) {
  test_support::ScratchDir dir;
  const std::string file = (dir / "sorted.csv").string();
  SecondRunner runner;
  const RunResult result = runner.runText(
      "on frmMore\n"
      "  sort grdLines by \"存货编码\" descending\n"
      "  export grdLines to \"" +
      file +
      "\"\n"
      "  expect grdLines[1,1] \"A01\"\n"
      "  click cmdOk\n"
      "end\n"
      "call $dlg.show\n");
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(test_support::fileText(file), "\xEF\xBB\xBF存货编码,仓库\r\nA02,\r\nA01,\r\n");
  EXPECT_TRUE(has(runner.host().transcript(), "sorted grdLines by \"存货编码\" descending"));

  SecondRunner misspelt;
  const RunResult unparsed = misspelt.runText(
      "on frmMore\n"
      "  sort grdLines \"存货编码\"\n"
      "end\n");
  EXPECT_FALSE(unparsed.ok);
  EXPECT_NE(unparsed.message.find("expected by"), std::string::npos) << unparsed.message;
}

TEST(ScriptedMoreWordsTest, FindMakesTheFirstMatchingRowCurrentAndBeepsWithoutOne) {
  SecondRunner runner;
  const RunResult result = runner.runText(
      "on frmMore\n"
      "  find grdLines \"a0\"\n"
      "  find grdLines \"a0\" next\n"
      "  find grdLines \"a0\" next\n"
      "  find grdLines \"B9\"\n"
      "  find lstPick \"104\"\n"
      "  click cmdOk\n"
      "end\n"
      "call $dlg.show\n");
  ASSERT_TRUE(result.ok) << result.message;
  const auto& lines = runner.host().transcript();
  EXPECT_TRUE(has(lines, "found \"a0\" in grdLines row 1 (2 matching rows)"));
  EXPECT_TRUE(has(lines, "found \"a0\" in grdLines row 2 (2 matching rows)"));
  // Past the last match the search starts at the top again.
  EXPECT_EQ(
      std::count(lines.begin(), lines.end(), "found \"a0\" in grdLines row 1 (2 matching rows)"),
      2);
  EXPECT_TRUE(has(lines, "no row of grdLines shows \"B9\""));
  EXPECT_TRUE(has(lines, "beep"));
  EXPECT_TRUE(has(lines, "found \"104\" in lstPick row 1 (1 matching row)"));
  ASSERT_EQ(runner.forms.size(), 1u);
}

TEST(ScriptedMoreWordsTest, ExportWritesTheListAndCtrlCFillsTheClipboard) {
  test_support::ScratchDir dir;
  const std::string file = (dir / "行.csv").string();
  SecondRunner runner;
  const RunResult result = runner.runText(
      "on frmMore\n"
      "  export grdLines to \"" +
      file +
      "\"\n"
      "  select grdLines 2\n"
      "  key Ctrl+C\n"
      "  expect clipboard \"存货编码\\t仓库\\r\\nA02\\t\\r\\n\"\n"
      "  mark lstPick 1\n"
      "  key Ctrl+C\n"
      "  expect clipboard like \"选择*0104001*\"\n"
      "  click cmdOk\n"
      "end\n"
      "call $dlg.show\n"
      "expect clipboard <> \"\"\n");
  ASSERT_TRUE(result.ok) << result.message;
  const std::string csv = test_support::fileText(file);
  // The hidden column stays out; the captions lead, after the byte-order mark.
  EXPECT_EQ(csv, "\xEF\xBB\xBF存货编码,仓库\r\nA01,\r\nA02,\r\n");
  EXPECT_TRUE(test_support::has(runner.host().transcript(),
                                "exported 2 rows of grdLines to \"" + file + "\""));

  SecondRunner unwritable;
  const RunResult unwritten = unwritable.runText(
      "on frmMore\n"
      "  export grdLines to \"" +
      (dir / "none" / "x.csv").string() +
      "\"\n"
      "end\n"
      "call $dlg.show\n");
  EXPECT_FALSE(unwritten.ok);
  EXPECT_NE(unwritten.message.find("could not be exported"), std::string::npos)
      << unwritten.message;
  forms::setClipboardText("");
}

// `call $dlg.show` shows frmMore with a pop-up menu on grdLines that exports it (asking where)
// and a scan field on it that takes the codes of its first column.
class ExportScanRunner : public ScriptRunner {
 public:
  std::vector<std::unique_ptr<frmMore>> forms;

 protected:
  void onCall(const CallLine&, SourcePos) override {
    auto& form = *forms.emplace_back(std::make_unique<frmMore>());
    Menu& menu = form.addMenu("mnuLines", "");
    menu.setVisible(false);
    form.addMenu("mnuLinesExport", kExportMenuCaption, &menu).Click = [&form] {
      exportListAsked(form.grdLines);
    };
    form.grdLines.MouseUp = [&form, &menu](int button, int, int, int) {
      if (button == vbRightButton) form.PopupMenu(menu);
    };
    form.grdLines.Scan = [&form](const std::string& text, int& row) {
      for (int r = 1; r < form.grdLines.Rows(); ++r) {
        if (form.grdLines.TextMatrix(1, r) == text) row = r;
      }
      if (row == 0) Beep();
    };
    form.Show(vbModal);
  }
};

TEST(ScriptedMoreWordsTest, SaveAnswersTheExportsQuestionAndScanReachesTheGrid) {
  test_support::ScratchDir dir;
  const std::string file = (dir / "导出.csv").string();
  ExportScanRunner runner;
  const RunResult result = runner.runText(
      "save cancel\n"
      "on frmMore\n"
      "  rclick grdLines\n"
      "  menu mnuLinesExport\n"
      "  save \"" +
      file +
      "\"\n"
      "  rclick grdLines\n"
      "  menu mnuLinesExport\n"
      "  scan grdLines \"A02\"\n"
      "  scan grdLines \"ZZ\"\n"
      "  click cmdOk\n"
      "end\n"
      "call $dlg.show\n");
  ASSERT_TRUE(result.ok) << result.message;
  const auto& t = runner.host().transcript();
  EXPECT_TRUE(has(t, "save file \"导出\" (\"更多.csv\") -> cancel"));
  EXPECT_TRUE(has(t, "save file \"导出\" (\"更多.csv\") -> \"" + file + "\""));
  EXPECT_TRUE(has(t, "scanned \"A02\" into grdLines row 2"));
  EXPECT_TRUE(has(t, "no line of grdLines took \"ZZ\""));
  EXPECT_EQ(runner.host().beepCount(), 1);
  EXPECT_EQ(test_support::fileText(file), "\xEF\xBB\xBF存货编码,仓库\r\nA01,\r\nA02,\r\n");

  // A save nobody asked for fails.
  ExportScanRunner unused;
  const RunResult left =
      unused.runText("on frmMore\n  click cmdOk\nend\ncall $dlg.show\nsave \"x.csv\"\n");
  EXPECT_FALSE(left.ok);
  EXPECT_NE(left.message.find("save was never used"), std::string::npos) << left.message;
}

TEST(ScriptedMoreWordsTest, RegistryExpectationsReadTheMachineRegistry) {
  test_support::ScratchDir dir;
  test_support::EnvGuard registryFile("QUILLON_REGISTRY", (dir / "registry").string().c_str());
  auto registry = platform::Registry::machine();
  platform::RegistryKey key;
  ASSERT_EQ(registry.createKey("SOFTWARE\\Quillon\\Lists", key), platform::RegStatus::Success);
  ASSERT_EQ(key.setString("spgList", "1200,900"), platform::RegStatus::Success);
  key.close();

  ScriptRunner runner;
  const RunResult held = runner.runText(
      "expect registry \"SOFTWARE\\\\Quillon\\\\Lists\" \"spgList\" = \"1200,900\"\n"
      "expect registry \"software\\\\quillon\\\\lists\" \"SPGLIST\" like \"1200,*\"\n"
      "expect registry \"SOFTWARE\\\\Quillon\\\\Lists\" \"lstHead\" = null\n"
      "expect registry \"SOFTWARE\\\\Nobody\" \"x\" = null\n");
  EXPECT_TRUE(held.ok) << held.message;
  ScriptRunner other;
  const RunResult failed =
      other.runText("expect registry \"SOFTWARE\\\\Quillon\\\\Lists\" \"lstHead\" = \"1200\"\n");
  EXPECT_EQ(failed.message,
            "line 1, column 1: expected registry \"SOFTWARE\\\\Quillon\\\\Lists\" \"lstHead\" = "
            "\"1200\", found Null");
}

}  // namespace
}  // namespace quillon::script
