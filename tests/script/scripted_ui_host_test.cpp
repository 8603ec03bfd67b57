#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "sample_form.h"
#include "script/script_parser.h"
#include "script/script_runner.h"
#include "support/text_checks.h"

namespace quillon::script {

using namespace forms;
namespace {

using forms::testing::frmSample;

// Stands in for the host-line interpreter: `call $dlg.show` shows a fresh sample dialog modally,
// the way a public class shows its dialog.
class SampleRunner : public ScriptRunner {
 public:
  std::vector<std::unique_ptr<frmSample>> forms;

 protected:
  void onCall(const CallLine& line, SourcePos pos) override {
    if (line.member != "show") throw ScriptError(pos, "no member " + line.member);
    forms.push_back(std::make_unique<frmSample>());
    forms.back()->Show(vbModal);
  }
};

// Every dialog action and expectation, with a nested modal dialog; line numbers below refer to it.
constexpr const char* kFullScript = R"(on frmSample
  type txtCode "AB'C"
  expect txtCode "ABC"
  focus txtDate
  type txtDate "2026-12-01"
  click chkAll
  check chkAll off
  choose cmbType "受托代销"
  expect cmbType "受托代销"
  expect cmbType.rows = 3
  mark lstHead 2
  expect lstHead[2,0] "Y"
  expect lstHead[1,"部门"] "D1"
  expect lstHead[0,2] "部门"
  select lstHead 3
  expect lstHead "A003"
  expect lstHead.rows = 3
  tab SSTab1 1
  mark grdBody 2
  expect grdBody[2,0] "Y"
  cell grdBody 1 "数量" "1"
  expect grdBody[1,2] "1.00"
  cell grdBody 2 2 "-1"
  expect grdBody[2,"数量"] ""
  expect grdBody.rows = 2
  select grdBody 1
  tab SSTab1 2
  mark vlLines 1
  expect vlLines[1,"存货编码"] "I01"
  expect vlLines[2,iQuantity] "6"
  expect vlLines.rows = 2
  cell vlLines 2 "数量" "8"
  cell vlLines 1 "存货编码" "X"
  expect vlLines[2,2] "8.00"
  expect vlLines[1,1] "I01"
  toolbar all
  node treeInv K01
  node treeInv K01 check on
  expect treeInv.rows = 2
  rclick lstHead
  menu MnuClear
  expect lstHead[2,0] ""
  input "7"
  menu mnuLocal
  expect sbr "第7条"
  pick 1,3
  click cmdRefers
  expect txtCode "1,3"
  date 2026-12-31
  click cmdDate
  expect txtDate "2026-12-31"
  key F2
  type edtQty "12.5x"
  expect edtQty "12.5"
  type hdiQty "123456"
  expect hdiQty "12345"
  click cmdMore
  expect frmSample "样例"
  answer cancel
  click cmdOk
  expect message "确定吗?"
  answer ok
  key Enter
end
on frmChild
  type txtNote "看过"
  click cmdClose
end
$r = call $dlg.show
)";

using test_support::has;

TEST(ScriptedUiHostTest, EveryDialogActionAndExpectOnTheSampleForm) {
  SampleRunner runner;
  const RunResult result = runner.runText(kFullScript);
  ASSERT_TRUE(result.ok) << result.message;
  ASSERT_EQ(runner.forms.size(), 1u);
  const frmSample& form = *runner.forms[0];
  EXPECT_FALSE(form.Loaded());  // Enter pressed the default button, OK confirmed, it unloaded
  const auto& log = form.log;
  for (const char* event :
       {"lstHead_ItemCheck:2k+", "SSTab1_Click:0", "SSTab1_Click:1", "grdBody_CellChange:1,2",
        "grdBody_CellChange:2,2", "vlLines_RowMarkChanged:1", "toolbar:all",
        "treeInv_NodeClick:K01", "treeInv_NodeCheck:K01", "MnuClear_Click", "F2",
        "cmbType_Click:受托代销", "chkAll_Click:1", "chkAll_Click:0", "edtQty_Change:12.5"}) {
    EXPECT_TRUE(has(log, event)) << event;
  }
  EXPECT_EQ(std::count(log.begin(), log.end(), "cmdOk_Click"), 2);
  EXPECT_EQ(form.childNote, "看过");
  const auto& t = runner.host().transcript();
  EXPECT_TRUE(has(t, "form frmSample shown modally"));
  EXPECT_TRUE(has(t, "form frmChild shown modally"));
  EXPECT_TRUE(has(t, "form frmChild unloaded"));
  EXPECT_TRUE(has(t, "beep"));
  EXPECT_TRUE(has(t, "cell vlLines[1,1] cannot be edited (line 33)"));
  EXPECT_TRUE(has(t, "pop-up menu MnuPop -> MnuClear"));
  EXPECT_TRUE(has(t, "lookup \"供应商\" \"\" -> 1,3"));
  EXPECT_TRUE(has(t, "calendar \"\" -> 2026-12-31"));
  EXPECT_TRUE(has(t, "input \"定位行数\" \"行数：\" -> \"7\""));
  EXPECT_TRUE(has(t, "message \"系统提示\" \"确定吗?\" [OKCancel, question] -> Cancel (line 59)"));
  EXPECT_TRUE(has(t, "message \"系统提示\" \"确定吗?\" [OKCancel, question] -> OK (line 62)"));
  EXPECT_EQ(t.back(), "form frmSample unloaded");
}

TEST(ScriptedUiHostTest, AFailingExpectNamesItsLineAndTheCallStillReturns) {
  SampleRunner runner;
  const RunResult result = runner.runText(
      "on frmSample\n"
      "  type txtCode \"A\"\n"
      "  expect txtCode \"B\"\n"
      "  click cmdExit\n"
      "end\n"
      "call $dlg.show\n"
      "call $dlg.show\n");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.pos.line, 3);
  EXPECT_EQ(result.message, "line 3, column 3: expected txtCode to read \"B\", it reads \"A\"");
  ASSERT_EQ(runner.forms.size(), 1u);  // the run stopped after the failing call
  EXPECT_FALSE(runner.forms[0]->Loaded());
  EXPECT_FALSE(has(runner.forms[0]->log, "cmdExit_Click"));  // nothing ran after the failure
}

TEST(ScriptedUiHostTest, UnansweredMessageBoxTakesItsDefaultButton) {
  SampleRunner runner;
  const RunResult result = runner.runText(
      "on frmSample\n"
      "  click cmdOk\n"
      "end\n"
      "call $dlg.show\n"
      "expect message \"确定吗?\"\n");
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_TRUE(has(runner.host().transcript(),
                  "message \"系统提示\" \"确定吗?\" [OKCancel, question] -> OK (default)"));
  EXPECT_FALSE(runner.forms[0]->Loaded());
}

TEST(ScriptedUiHostTest, ABlockThatLeavesItsFormOpenClosesItAndNotesIt) {
  SampleRunner runner;
  const RunResult result =
      runner.runText("on frmSample\n  type txtCode \"x\"\nend\ncall $dlg.show\n");
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_TRUE(has(runner.host().transcript(),
                  "form frmSample left open by the block at line 1; closed with its close box"));
  EXPECT_TRUE(has(runner.forms[0]->log, "Form_Unload"));
  EXPECT_FALSE(runner.forms[0]->Loaded());
}

TEST(ScriptedUiHostTest, AFormThatRefusesToCloseIsHiddenSoTheCallReturns) {
  SampleRunner runner;
  runner.forms.reserve(1);
  const RunResult result = runner.runText("on frmSample\n  close\nend\ncall $dlg.show\n");
  // The sample allows closing; make one that refuses through the script's own close.
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_FALSE(runner.forms[0]->Loaded());

  frmSample stubborn;
  stubborn.unloadCancel = 1;
  auto host = std::make_shared<ScriptedUiHost>();
  ScopedUiHost installed(host);
  stubborn.Show(vbModal);
  EXPECT_FALSE(stubborn.Visible());
  EXPECT_TRUE(stubborn.Loaded());
  EXPECT_TRUE(has(host->transcript(), "form frmSample refused to close; hidden"));
}

TEST(ScriptedUiHostTest, ActionsOnMissingControlsOrClosedFormsAreClearErrors) {
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"on frmSample\n  click cmdNope\nend\ncall $dlg.show\n",
       "line 2, column 3: click form frmSample has no control cmdNope"},
      {"on frmSample\n  click cmdExit\n  click cmdOk\nend\ncall $dlg.show\n",
       "line 3, column 3: click: form frmSample is not shown any more"},
      {"on frmSample\n  mark lstHead 9\nend\ncall $dlg.show\n",
       "line 2, column 3: mark lstHead has no data row 9 (it has 3)"},
      {"on frmSample\n  choose cmbType \"无\"\nend\ncall $dlg.show\n",
       "line 2, column 3: choose cmbType has no item \"无\""},
      {"on frmSample\n  menu MnuClear\nend\ncall $dlg.show\n",
       "line 2, column 3: menu MnuClear belongs to the pop-up menu MnuPop, which is not open"},
      {"on frmSample\n  type cmdOk \"x\"\nend\ncall $dlg.show\n",
       "line 2, column 3: type cmdOk cannot be typed into"},
      {"on frmSample\n  expect lstHead.rows = 4\nend\ncall $dlg.show\n",
       "line 2, column 3: expected lstHead to show 4 rows, it shows 3"},
      {"on frmSample\n  answer yes\n  click cmdOk\nend\ncall $dlg.show\n",
       "line 2, column 3: answer Yes does not fit the message box \"确定吗?\" with buttons "
       "OKCancel"},
      {"on frmSample\n  toolbar nope\nend\ncall $dlg.show\n",
       "line 2, column 3: toolbar no toolbar showing on frmSample has a button nope"},
      {"on frmSample\n  close\nend\n",
       "line 1, column 1: the block for frmSample never ran: the form was not shown modally"},
      {"answer ok\n", "line 1, column 1: answer was never used: no such dialog came"},
      {"expect message \"x\"\n",
       "line 1, column 1: expected the message \"x\", but no message box was shown"},
      {"new $po Quillon.ProduceOrder\n",
       "line 1, column 1: new is a host line; this runner has no host interpreter"},
      {"on frmSample\n  type txtCode \"x\n",
       "line 2, column 16: text not closed with a double quote"},
  };
  for (const Case& c : cases) {
    SampleRunner runner;
    const RunResult result = runner.runText(c.script);
    EXPECT_FALSE(result.ok) << c.script;
    EXPECT_EQ(result.message, c.message) << c.script;
    for (const auto& form : runner.forms) EXPECT_FALSE(form->Visible()) << c.script;
  }
}

TEST(ScriptedUiHostTest, APopUpMenuWithoutAChoiceIsDismissed) {
  SampleRunner runner;
  const RunResult result = runner.runText(
      "on frmSample\n  mark lstHead 1\n  rclick lstHead\n  expect lstHead[1,0] \"Y\"\nend\ncall "
      "$dlg.show\n");
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_TRUE(has(runner.host().transcript(), "pop-up menu MnuPop dismissed"));
}

TEST(ScriptedUiHostTest, ValidateThatKeepsTheFocusIsNotedAndBlocksTheClick) {
  SampleRunner runner;
  const RunResult result = runner.runText(
      "on frmSample\n"
      "  type txtDate \"2026-13-01\"\n"
      "  click cmdExit\n"
      "  expect message \"日期格式不正确，必须按格式YYYY-MM-DD输入\"\n"
      "  type txtDate \"\"\n"
      "  click cmdExit\n"
      "end\n"
      "call $dlg.show\n");
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_TRUE(has(runner.host().transcript(),
                  "click on cmdExit did not happen: txtDate kept the focus (line 3)"));
  EXPECT_EQ(std::count(runner.forms[0]->log.begin(), runner.forms[0]->log.end(), "cmdExit_Click"),
            1);
}

TEST(ScriptedUiHostTest, QueuedAnswersAreCheckedAgainstTheDialogThatTakesThem) {
  auto host = std::make_shared<ScriptedUiHost>();
  ScopedUiHost installed(host);
  const auto queue = [&](std::string_view text) {
    for (const auto& st : parseScript(text).statements)
      host->perform(std::get<DialogAction>(st.body));
  };
  queue("input cancel\npick cancel\ndate cancel\npick 2\npick 1,2\n");
  EXPECT_FALSE(currentUiHost().inputBox({"行数：", "定位行数", ""}));
  LookupRequest request;
  request.title = "部门";
  EXPECT_FALSE(currentUiHost().lookupList(request));
  EXPECT_FALSE(currentUiHost().calendar({}));
  forms::testing::TableSource rows({"cDepCode"}, {{"01"}, {"02"}});
  request.rows = &rows;
  EXPECT_EQ(currentUiHost().lookupList(request), std::vector<int>{2});
  EXPECT_FALSE(host->failure());
  EXPECT_FALSE(currentUiHost().lookupList(request));  // two rows on a single-choice list
  ASSERT_TRUE(host->failure());
  EXPECT_EQ(host->failure()->message(), "pick: the lookup list takes one row only");
  EXPECT_EQ(host->failure()->pos().line, 5);
  // After a failure every question takes its default and nothing more is recorded.
  EXPECT_EQ(MsgBox("再来?", vbYesNo + vbDefaultButton2), vbNo);
  EXPECT_EQ(host->failure()->pos().line, 5);
}

TEST(ScriptedUiHostTest, LookupPicksOutsideTheResultFail) {
  auto host = std::make_shared<ScriptedUiHost>();
  ScopedUiHost installed(host);
  host->perform(std::get<DialogAction>(parseScript("pick 1,3").statements[0].body));
  forms::testing::TableSource rows({"cVenCode"}, {{"V1"}, {"V2"}});
  LookupRequest request;
  request.multiSelect = true;
  request.rows = &rows;
  EXPECT_FALSE(currentUiHost().lookupList(request));
  ASSERT_TRUE(host->failure());
  EXPECT_EQ(host->failure()->message(), "pick 3: the lookup list has 2 rows");
}

TEST(ScriptedUiHostTest, KeysFromAScriptReachAcceleratorsAndTheCancelButton) {
  SampleRunner runner;
  const RunResult result =
      runner.runText("on frmSample\n  key Alt+A\n  key Esc\nend\ncall $dlg.show\n");
  ASSERT_TRUE(result.ok) << result.message;
  const auto& log = runner.forms[0]->log;
  EXPECT_TRUE(has(log, "chkAll_Click:1"));
  EXPECT_TRUE(has(log, "cmdExit_Click"));
  EXPECT_FALSE(runner.forms[0]->Loaded());
}

TEST(ScriptedUiHostTest, DamagedScriptsFailCleanlyAndNeverLeaveAFormShowing) {
  // Every kind of damage at many places: a lost character (also inside UTF-8 sequences), a stray
  // quote, a blank in place of a character. Each run must end with a result, never a crash.
  const std::string full = kFullScript;
  int failed = 0;
  for (std::size_t i = 0; i < full.size(); i += 5) {
    for (int damage = 0; damage < 3; ++damage) {
      std::string text = full;
      if (damage == 0) text.erase(i, 1);
      if (damage == 1) text.insert(i, 1, '"');
      if (damage == 2) text[i] = ' ';
      SampleRunner runner;
      const RunResult result = runner.runText(text);
      failed += result.ok ? 0 : 1;
      if (!result.ok) {
        EXPECT_GE(result.pos.line, 1) << text;
      }
      for (const auto& form : runner.forms) {
        EXPECT_FALSE(form->Visible()) << text;
      }
    }
  }
  EXPECT_GT(failed, 0);
}

}  // namespace
}  // namespace quillon::script
