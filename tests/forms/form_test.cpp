#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "automation/com_error.h"
#include "forms/dialog_shell.h"
#include "sample_form.h"
#include "script/scripted_ui_host.h"

namespace quillon::forms {
namespace {

using script::ScriptedUiHost;
using testing::frmSample;

bool contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class FormTest : public ::testing::Test {
 protected:
  std::shared_ptr<ScriptedUiHost> host = std::make_shared<ScriptedUiHost>();
  ScopedUiHost installed{host};
  frmSample form;
};

TEST_F(FormTest, DeclarationGivesARendererEverythingInOrder) {
  ASSERT_GE(form.controls().size(), 20u);
  EXPECT_EQ(form.controls().front()->Name(), "Frame1");
  EXPECT_EQ(form.txtCode.container(), &form.Frame1);
  EXPECT_EQ(form.grdBody.container(), &form.SSTab1);
  EXPECT_EQ(form.grdBody.containerTab(), 1);
  EXPECT_EQ(form.findControl("CMDOK"), &form.cmdOk);
  EXPECT_EQ(form.find<TextBox>("cmdOk"), nullptr);
  EXPECT_EQ(form.findControlByPath("MnuClear"), &form.MnuClear);
  EXPECT_EQ(form.MnuClear.parentMenu(), &form.MnuPop);
  EXPECT_EQ(form.cmdOk.Width(), 1100);
  EXPECT_THROW(form.add<TextBox>("txtCode", {}), automation::ComError);
  form.Frame1.setEnabled(false);
  EXPECT_FALSE(form.txtCode.isReachable());  // a disabled frame disables what it holds
}

TEST_F(FormTest, LoadWithoutShowingThenShowAndUnload) {
  form.Load();
  EXPECT_TRUE(form.Loaded());
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.log, std::vector<std::string>{"Form_Load"});
  form.Show();
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.ActiveControl(), &form.txtCode);  // the first tab stop
  EXPECT_EQ(form.log, (std::vector<std::string>{"Form_Load", "Form_Activate", "txtCode_GotFocus"}));
  form.unloadCancel = 1;
  EXPECT_FALSE(form.userClose());
  EXPECT_TRUE(form.Visible());
  form.unloadCancel = 0;
  EXPECT_TRUE(form.Unload());
  EXPECT_FALSE(form.Loaded());
  EXPECT_TRUE(contains(host->transcript(), "form frmSample shown"));
  EXPECT_TRUE(contains(host->transcript(), "form frmSample unloaded"));
}

TEST_F(FormTest, ValidateCancelKeepsTheFocus) {
  form.Show();
  form.txtDate.SetFocus();
  form.txtDate.setText("2026-13-01");
  form.log.clear();
  EXPECT_FALSE(form.moveFocus(form.txtCode));
  EXPECT_EQ(form.ActiveControl(), &form.txtDate);
  EXPECT_EQ(form.log, std::vector<std::string>{"txtDate_Validate"});  // no LostFocus, no GotFocus
  EXPECT_EQ(host->lastMessage(), "日期格式不正确，必须按格式YYYY-MM-DD输入");
  // A control that does not cause validation takes the focus anyway.
  form.cmdExit.setCausesValidation(false);
  EXPECT_TRUE(form.moveFocus(form.cmdExit));
  form.txtDate.setText("2026-12-01");
  form.txtDate.SetFocus();
  EXPECT_TRUE(form.moveFocus(form.txtCode));
  EXPECT_EQ(form.ActiveControl(), &form.txtCode);
}

TEST_F(FormTest, LostFocusHandlerMayTakeTheFocusBack) {
  form.Show();
  form.txtDate.SetFocus();
  form.txtDate.LostFocus = [this] { form.txtDate.SetFocus(); };
  form.log.clear();
  EXPECT_FALSE(form.moveFocus(form.txtCode));
  EXPECT_EQ(form.ActiveControl(), &form.txtDate);
  EXPECT_FALSE(contains(form.log, "txtCode_GotFocus"));
}

TEST_F(FormTest, SetFocusOnAControlThatCannotTakeItIsAnError) {
  form.Show();
  form.txtDate.setVisible(false);
  EXPECT_THROW(form.txtDate.SetFocus(), automation::ComError);
  EXPECT_THROW(form.lblCode.SetFocus(), automation::ComError);
  // Hiding the focused control moves the focus on.
  form.txtCode.SetFocus();
  form.txtCode.setVisible(false);
  EXPECT_NE(form.ActiveControl(), &form.txtCode);
}

TEST_F(FormTest, KeyPreviewSwallowsKeysSetToZero) {
  form.Show();
  form.txtCode.SetFocus();
  for (int ch : {'A', '\'', 'B'}) form.userKey(0, 0, ch);
  EXPECT_EQ(form.txtCode.Text(), "AB");
  EXPECT_EQ(host->beepCount(), 1);
  int controlKeys = 0;
  form.txtCode.KeyDown = [&](int&, int) { ++controlKeys; };
  form.userKey(vbKeyF2, 0, 0);
  EXPECT_EQ(controlKeys, 0);  // the form took F2 and set KeyCode to 0
  EXPECT_TRUE(contains(form.log, "F2"));
  form.setKeyPreview(false);
  form.userKey(0, 0, '\'');
  EXPECT_EQ(form.txtCode.Text(), "AB'");
}

TEST_F(FormTest, EnterEscTabAndAcceleratorsReachTheirControls) {
  form.Show();
  form.txtCode.SetFocus();
  form.userKey(vbKeyTab, 0, 0);
  EXPECT_EQ(form.ActiveControl(), &form.txtDate);
  form.userKey(vbKeyTab, vbShiftMask, 0);
  EXPECT_EQ(form.ActiveControl(), &form.txtCode);
  form.userKey('A', vbAltMask, 0);  // 全选(&A)
  EXPECT_EQ(form.chkAll.Value(), vbChecked);
  form.txtCode.SetFocus();
  form.userKey(vbKeyReturn, 0, 13);  // the default button; the message box takes its default: OK
  EXPECT_TRUE(contains(form.log, "cmdOk_Click"));
  EXPECT_FALSE(form.Loaded());

  frmSample other;
  other.Show();
  other.userKey(vbKeyEscape, 0, 27);
  EXPECT_TRUE(contains(other.log, "cmdExit_Click"));
  EXPECT_FALSE(other.Loaded());
}

TEST_F(FormTest, OptionsInOneContainerExcludeEachOther) {
  form.Show();
  EXPECT_TRUE(form.optA.userClick());
  EXPECT_TRUE(form.optB.userClick());
  EXPECT_FALSE(form.optA.Value());
  EXPECT_TRUE(form.optB.Value());
}

TEST_F(FormTest, ModalShowOfAShownFormIsRefused) {
  form.Show();
  EXPECT_THROW(form.Show(vbModal), automation::ComError);
}

TEST_F(FormTest, ModalShowReturnsAfterTheHostClosedTheForm) {
  form.Show(vbModal);  // no block queued: the host closes it with the close box
  EXPECT_FALSE(form.Loaded());
  EXPECT_TRUE(contains(host->transcript(), "form frmSample shown modally"));
  EXPECT_TRUE(contains(host->transcript(),
                       "form frmSample has no script block; closed with its close box"));
}

TEST_F(FormTest, MessageBoxFlagsAndDefaults) {
  const auto r =
      MessageBoxRequest::fromFlags("p", vbYesNoCancel + vbQuestion + vbDefaultButton2, "t");
  EXPECT_EQ(r.buttons, vbYesNoCancel);
  EXPECT_EQ(r.icon, vbQuestion);
  EXPECT_EQ(r.defaultAnswer(), vbNo);
  EXPECT_EQ(MessageBoxRequest::fromFlags("p", vbOKOnly + vbDefaultButton3, "t").defaultAnswer(),
            vbOK);
  EXPECT_EQ(MsgBox("确认要选择全部存货吗?", vbOKCancel, "系统提示"), vbOK);
  EXPECT_EQ(host->transcript().back(),
            "message \"系统提示\" \"确认要选择全部存货吗?\" [OKCancel, none] -> OK (default)");
}

// A dialog whose one handler fails while it shows the busy pointer.
class frmShell : public DialogShell {
 public:
  explicit frmShell(HandlerErrors errors) : DialogShell("frmShell", "", 3000, 2000, errors) {
    cmdGo.Click = handler([this] {
      const auto pointer = busy();
      pointerDuring = MousePointer();
      throw automation::ComError(5, "坏了");
    });
  }
  CommandButton& cmdGo = add<CommandButton>("cmdGo", {100, 100, 900, 300}, "Go");
  int pointerDuring = 0;
};

TEST(DialogShellTest, HandlerErrorsAreShownOrPassedOnAsTheDialogDeclares) {
  auto host = std::make_shared<ScriptedUiHost>();
  ScopedUiHost installed{host};
  frmShell prompting(HandlerErrors::Prompt);
  prompting.Show();
  EXPECT_NO_THROW(prompting.cmdGo.userClick());
  EXPECT_EQ(prompting.pointerDuring, vbArrowHourglass);
  EXPECT_EQ(prompting.MousePointer(), vbDefault);  // given back although the handler failed
  EXPECT_EQ(host->transcript().back(),
            "message \"系统提示\" \"坏了\" [OKOnly, critical] -> OK (default)");
  EXPECT_TRUE(prompting.Visible());

  frmShell passing(HandlerErrors::Propagate);
  passing.Show();
  EXPECT_THROW(passing.cmdGo.userClick(), automation::ComError);
  EXPECT_EQ(passing.MousePointer(), vbDefault);
}

// A dialog whose query handlers end it; OK checks a box whose handler queries, as the order
// dialogs' OK lists the lines of the marked heads.
class frmQueries : public DialogShell {
 public:
  frmQueries() : DialogShell("frmQueries", "", 3000, 2000, HandlerErrors::Prompt) {
    constexpr auto query = HandlerErrors::Propagate;
    cmdQuery.Click =
        handler(query, [] { throw automation::ComError(-2147217865, "no such table"); });
    chkLines.Click = handler(query, [this] {
      if (linesFail) throw automation::ComError(-2147217865, "no such view");
    });
    cmdOk.Click = handler([this] {
      chkLines.setValue(vbChecked);
      okFinished = true;
    });
    cmdOther.Click = handler([] { throw automation::ComError(5, "坏了"); });
  }
  CommandButton& cmdQuery = add<CommandButton>("cmdQuery", {100, 100, 900, 300}, "Query");
  CheckBox& chkLines = add<CheckBox>("chkLines", {100, 500, 900, 300}, "Lines");
  CommandButton& cmdOk = add<CommandButton>("cmdOk", {100, 900, 900, 300}, "OK");
  CommandButton& cmdOther = add<CommandButton>("cmdOther", {100, 1300, 900, 300}, "Other");
  bool linesFail = false;
  bool okFinished = false;
  int unloads = 0;

 protected:
  void Form_Unload(int&) override { ++unloads; }
};

// Plays the person of a modal form with a function instead of a script block.
class DrivingUiHost : public ScriptedUiHost {
 public:
  std::function<void(Form&)> drive;
  void runModal(Form& form) override { drive(form); }
};

int errorNumberOfShow(Form& form) {
  try {
    form.Show(vbModal);
  } catch (const automation::ComError& e) {
    return e.number();
  }
  return 0;
}

TEST(DialogShellTest, APropagatedErrorEndsAModalDialogAndItsShowRaisesIt) {
  auto host = std::make_shared<DrivingUiHost>();
  ScopedUiHost installed{host};
  frmQueries f;
  host->drive = [&](Form&) {
    f.cmdOther.userClick();  // shown and kept
    EXPECT_TRUE(f.Visible());
    f.cmdQuery.userClick();
    EXPECT_FALSE(f.Loaded());
  };
  EXPECT_EQ(errorNumberOfShow(f), -2147217865);
  EXPECT_EQ(f.unloads, 1);
  EXPECT_EQ(std::count_if(host->transcript().begin(), host->transcript().end(),
                          [](const std::string& l) { return l.starts_with("message "); }),
            1);

  // Raised from a handler inside OK's: OK goes no further, and the dialog ends all the same.
  f.linesFail = true;
  host->drive = [&](Form&) { f.cmdOk.userClick(); };
  EXPECT_EQ(errorNumberOfShow(f), -2147217865);
  EXPECT_FALSE(f.okFinished);
  EXPECT_FALSE(f.Loaded());

  // The next showing ends as the person ends it.
  f.linesFail = false;
  f.chkLines.setValue(vbUnchecked);
  host->drive = [&](Form&) {
    f.cmdOk.userClick();
    f.Unload();
  };
  EXPECT_EQ(errorNumberOfShow(f), 0);
  EXPECT_TRUE(f.okFinished);

  // Not shown modally there is no Show to raise it: the handler's caller gets it.
  frmQueries modeless;
  modeless.Show();
  EXPECT_THROW(modeless.cmdQuery.userClick(), automation::ComError);
  EXPECT_TRUE(modeless.Visible());
}

TEST(UiHostTest, HeadlessDefaultAndScopedInstallation) {
  // Without an installed host: defaults, cancels, and modal forms closed at once.
  EXPECT_EQ(MsgBox("?", vbYesNo + vbDefaultButton2), vbNo);
  EXPECT_FALSE(currentUiHost().inputBox({}));
  frmSample form;
  form.Show(vbModal);
  EXPECT_FALSE(form.Loaded());
  auto host = std::make_shared<ScriptedUiHost>();
  {
    ScopedUiHost installed(host);
    EXPECT_EQ(&currentUiHost(), host.get());
    {
      auto inner = std::make_shared<ScriptedUiHost>();
      ScopedUiHost nested(inner);
      EXPECT_EQ(&currentUiHost(), inner.get());
    }
    EXPECT_EQ(&currentUiHost(), host.get());
    // A form destroyed while loaded is forgotten by the host all the same.
    {
      frmSample shortLived;
      shortLived.Show();
    }
    EXPECT_EQ(host->transcript().back(), "form frmSample unloaded");
  }
  EXPECT_NE(&currentUiHost(), host.get());
}

TEST(DateTextTest, IsoDatesRoundTripAndRejectImpossibleDates) {
  const auto d = parseIsoDate("2026-12-05");
  ASSERT_TRUE(d);
  EXPECT_DOUBLE_EQ(d->serial, 46361.0);
  EXPECT_EQ(formatIsoDate(*d), "2026-12-05");
  EXPECT_EQ(formatIsoDate({1.0}), "1899-12-31");
  EXPECT_TRUE(parseIsoDate("2024-02-29"));
  EXPECT_FALSE(parseIsoDate("2026-02-29"));
  EXPECT_FALSE(parseIsoDate("2026-13-01"));
  EXPECT_FALSE(parseIsoDate("2026-1-01"));
}

}  // namespace
}  // namespace quillon::forms
