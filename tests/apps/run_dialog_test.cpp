// Dialog lines under `quillon run`: a small class whose member shows a modal form, driven by
// on-blocks, with its message boxes and form events in the transcript.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "automation/class_registry.h"
#include "automation/dispatch.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/ui_host.h"
#include "run_fixture.h"
#include "support/text_checks.h"

namespace quillon::cli::run::testing {
namespace {

using automation::Args;
using automation::Variant;

class frmAsk : public forms::Form {
 public:
  frmAsk() : Form("frmAsk", "询问", 4000, 2000) {
    cmdOk.Click = [this] {
      if (txtName.Text().empty()) {
        forms::MsgBox("请输入名称", forms::vbExclamation, "系统提示");
        return;
      }
      answer = txtName.Text();
      Unload();
    };
    cmdCancel.Click = [this] { Unload(); };
  }
  forms::TextBox& txtName = add<forms::TextBox>("txtName", {120, 120, 2000, 300});
  forms::CommandButton& cmdOk = add<forms::CommandButton>("cmdOk", {2400, 1200, 700, 350}, "确定");
  forms::CommandButton& cmdCancel =
      add<forms::CommandButton>("cmdCancel", {3200, 1200, 700, 350}, "取消");
  std::optional<std::string> answer;
};

// Ask(sTitle) shows frmAsk modally and returns the name typed, or Null when it was cancelled.
class AskDialog : public automation::Object {
 public:
  const automation::MemberTable& memberTable() const override {
    static const automation::MemberTable table =
        automation::MemberBuilder<AskDialog>("AskDialog")
            .method("Ask", {automation::in("sTitle", "String")}, "Variant",
                    [](AskDialog&, Args& a) -> Variant {
                      frmAsk form;
                      form.setCaption(a.str(0));
                      form.Show(forms::vbModal);
                      return form.answer ? Variant(*form.answer) : Variant::null();
                    })
            .build();
    return table;
  }
};

class RunDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { automation::classRegistry().add<AskDialog>("RunTest.Ask"); }
  static void TearDownTestSuite() { automation::classRegistry().remove("RunTest.Ask"); }
};

using test_support::has;

TEST_F(RunDialog, ABlockDrivesTheFormAndTheTranscriptShowsItsEvents) {
  const Outcome o = runScript(
      "new $d RunTest.Ask\n"
      "on frmAsk\n"
      "  click cmdOk\n"
      "  expect message \"请输入名称\"\n"
      "  type txtName \"零件\"\n"
      "  expect txtName \"零件\"\n"
      "  click cmdOk\n"
      "end\n"
      "$name = call $d.Ask \"名称\"\n"
      "expect $name = \"零件\"\n"
      "on frmAsk\n"
      "  type txtName \"x\"\n"
      "end\n"
      "$again = call $d.Ask \"名称\"\n"
      "expect $again = null\n");
  ASSERT_TRUE(o.result.ok) << o.result.message << "\n" << o.transcript;
  EXPECT_TRUE(has(o.transcript,
                  "line 9: $name = call $d.Ask \"名称\"\n"
                  "  form frmAsk shown modally\n"
                  "  message \"系统提示\" \"请输入名称\" [OKOnly, exclamation] -> OK (default)\n"
                  "  form frmAsk unloaded\n"
                  "  $name = \"零件\"\n"))
      << o.transcript;
  // The second block leaves its form open: the host closes it as its close box would.
  EXPECT_TRUE(has(o.transcript,
                  "form frmAsk left open by the block at line 11; closed with its "
                  "close box\n"))
      << o.transcript;
  EXPECT_TRUE(has(o.transcript, "  $again = Null\n")) << o.transcript;
}

TEST_F(RunDialog, AFailingDialogLineEndsTheCallAndTheScript) {
  const Outcome o = runScript(
      "new $d RunTest.Ask\n"
      "on frmAsk\n"
      "  type txtName \"a\"\n"
      "  expect txtName \"b\"\n"
      "  click cmdOk\n"
      "end\n"
      "$name = call $d.Ask \"名称\"\n"
      "print $name\n");
  EXPECT_FALSE(o.result.ok);
  EXPECT_EQ(o.result.pos.line, 4);
  EXPECT_TRUE(has(o.transcript, "FAILED line 4")) << o.transcript;
  EXPECT_FALSE(has(o.transcript, "  $name = ")) << o.transcript;
  EXPECT_FALSE(has(o.transcript, "line 8:")) << o.transcript;

  const Outcome missingControl =
      runScript("new $d RunTest.Ask\non frmAsk\n  click cmdNope\nend\n$n = call $d.Ask \"t\"\n");
  EXPECT_FALSE(missingControl.result.ok);
  EXPECT_EQ(missingControl.result.pos.line, 3);
  EXPECT_TRUE(has(missingControl.result.message, "cmdNope")) << missingControl.result.message;

  // A block for a form that never comes is a failure at the block's line.
  const Outcome never = runScript("on frmOther\n  close\nend\nset $a = 1\n");
  EXPECT_FALSE(never.result.ok);
  EXPECT_EQ(never.result.pos.line, 1);
  EXPECT_TRUE(has(never.result.message, "frmOther never ran")) << never.result.message;
}

}  // namespace
}  // namespace quillon::cli::run::testing
