// A multi-line text box takes Enter as a line break (CR LF) rather than pressing the default
// button, and a person's keys treat each line break as one character and each line as a line.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "forms/buttons.h"
#include "forms/constants.h"
#include "forms/form.h"
#include "forms/text_box.h"
#include "script/scripted_ui_host.h"

namespace quillon::forms {
namespace {

class frmMemo : public Form {
 public:
  frmMemo() : Form("frmMemo", "备注", 4000, 3000) {
    txtMemo.setMultiLine(true);
    cmdOk.setDefault(true);
    cmdOk.Click = [this] { ++okClicks; };
  }
  int okClicks = 0;
  TextBox& txtLine = add<TextBox>("txtLine", {120, 120, 2000, 300});
  TextBox& txtMemo = add<TextBox>("txtMemo", {120, 600, 3000, 1500});
  CommandButton& cmdOk = add<CommandButton>("cmdOk", {2800, 2400, 1000, 350}, "确定");
};

TEST(MultiLineTextTest, EnterBreaksTheLineAndLineBreaksAreOneStep) {
  ScopedUiHost installed{std::make_shared<script::ScriptedUiHost>()};
  frmMemo form;
  form.Show();
  form.txtLine.SetFocus();
  form.userKey(vbKeyReturn, 0, vbKeyReturn);
  EXPECT_EQ(form.okClicks, 1);  // a one-line field leaves Enter to the default button

  form.txtMemo.SetFocus();
  for (const char c : std::string("ab")) form.userKey(0, 0, c);
  form.userKey(vbKeyReturn, 0, vbKeyReturn);
  for (const char c : std::string("cd")) form.userKey(0, 0, c);
  EXPECT_EQ(form.txtMemo.Text(), "ab\r\ncd");
  EXPECT_EQ(form.okClicks, 1);

  form.userKey(vbKeyHome, 0, 0);
  EXPECT_EQ(form.txtMemo.SelStart(), 4);  // the start of the second line
  form.userKey(vbKeyLeft, 0, 0);
  EXPECT_EQ(form.txtMemo.SelStart(), 2);  // over the whole line break
  form.userKey(vbKeyEnd, vbShiftMask, 0);
  EXPECT_EQ(form.txtMemo.SelLength(), 0);  // already at the end of the first line
  form.userKey(vbKeyRight, vbShiftMask, 0);
  EXPECT_EQ(form.txtMemo.SelText(), "\r\n");
  form.userKey(vbKeyHome, vbCtrlMask, 0);
  EXPECT_EQ(form.txtMemo.SelStart(), 0);
  form.userKey(vbKeyEnd, vbCtrlMask, 0);
  EXPECT_EQ(form.txtMemo.SelStart(), 6);

  form.txtMemo.setSelStart(4);
  form.userKey(vbKeyBack, 0, vbKeyBack);
  EXPECT_EQ(form.txtMemo.Text(), "abcd");
  form.userKey(vbKeyReturn, 0, vbKeyReturn);
  form.txtMemo.setSelStart(2);
  form.userKey(vbKeyDelete, 0, 0);
  EXPECT_EQ(form.txtMemo.Text(), "abcd");
}

}  // namespace
}  // namespace quillon::forms
