// TextBox: a text field. Besides the platform's properties it carries `LinkItem`, the code behind
// a looked-up display text (a reference field shows names and keeps their codes here).
#pragma once

#include <functional>
#include <string>

#include "forms/control.h"
#include "forms/text_editing.h"

namespace quillon::forms {

class TextBox : public Control {
 public:
  explicit TextBox(std::string name, std::string text = {});

  const std::string& Text() const { return edit_.text; }
  // Replaces the text (caret at the end); runs Change when the text differs.
  void setText(std::string text);
  int SelStart() const { return edit_.selStart; }
  void setSelStart(int start);
  int SelLength() const { return edit_.selLength; }
  void setSelLength(int length);
  std::string SelText() const { return edit_.selectedText(); }
  // Replaces the selection, as pasting would (runs Change).
  void setSelText(const std::string& text);
  const std::string& LinkItem() const { return linkItem_; }
  void setLinkItem(std::string link);
  // Characters; 0 is unlimited. Code may still set a longer text, as on the platform.
  int MaxLength() const { return maxLength_; }
  void setMaxLength(int length);
  // A locked field takes the focus but refuses typing.
  bool Locked() const { return locked_; }
  void setLocked(bool on);
  bool MultiLine() const { return multiLine_; }
  void setMultiLine(bool on);
  // 0 left, 1 right, 2 centre.
  int Alignment() const { return alignment_; }
  void setAlignment(int alignment);

  bool canFocus() const override { return true; }
  std::string displayText() const override { return edit_.text; }
  bool defaultKeyPress(int keyAscii) override;
  bool defaultKeyDown(int keyCode, int shift) override;
  bool acceptsTyping() const override { return !locked_; }
  bool takesReturn() const override { return multiLine_; }
  void userClearText() override;

  std::function<void()> Change;
  std::function<void()> DblClick;

 private:
  void edited(const std::string& before);
  EditableText edit_;
  std::string linkItem_;
  int maxLength_ = 0;
  bool locked_ = false;
  bool multiLine_ = false;
  int alignment_ = 0;
};

}  // namespace quillon::forms
