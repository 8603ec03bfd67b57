// Buttons: command button, check box and option button.
#pragma once

#include <functional>
#include <string>

#include "forms/control.h"

namespace quillon::forms {

class CommandButton : public Control {
 public:
  explicit CommandButton(std::string name, std::string caption = {});

  // The caption keeps its accelerator marker ("确定(&O)"); parseCaption() splits it.
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption);
  // Picture id of the suite's image component, 0 for none.
  int Picture() const { return picture_; }
  void setPicture(int id);
  // The default button takes Enter, the cancel button Esc, from anywhere on the form.
  bool Default() const { return default_; }
  void setDefault(bool on);
  bool Cancel() const { return cancel_; }
  void setCancel(bool on);

  bool canFocus() const override { return true; }
  std::string displayText() const override;
  bool defaultKeyDown(int keyCode, int shift) override;

  std::function<void()> Click;
  // A person's click: the button takes the focus (which a Validate may refuse), then Click runs.
  // Returns false when the click did not happen.
  bool userClick();
  // Click without moving the focus (Enter on the default button, an accelerator, code).
  void fireClick();

 private:
  std::string caption_;
  int picture_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

class CheckBox : public Control {
 public:
  explicit CheckBox(std::string name, std::string caption = {});

  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption);
  // 0 unchecked, 1 checked, 2 grey. Changing the value runs Click, from code as from a person.
  int Value() const { return value_; }
  void setValue(int value);

  bool canFocus() const override { return true; }
  std::string displayText() const override { return caption_; }
  bool defaultKeyPress(int keyAscii) override;

  std::function<void()> Click;
  // A click toggles between checked and unchecked (a grey box becomes unchecked).
  bool userClick();

 private:
  std::string caption_;
  int value_ = 0;
};

class OptionButton : public Control {
 public:
  explicit OptionButton(std::string name, std::string caption = {});

  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption);
  // Setting an option clears the other options of the same container and runs Click.
  bool Value() const { return value_; }
  void setValue(bool value);

  bool canFocus() const override { return true; }
  std::string displayText() const override { return caption_; }

  std::function<void()> Click;
  bool userClick();

 private:
  std::string caption_;
  bool value_ = false;
};

}  // namespace quillon::forms
