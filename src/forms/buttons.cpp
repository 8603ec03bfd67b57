#include "forms/buttons.h"

#include "forms/constants.h"
#include "forms/form.h"

namespace quillon::forms {

namespace {

// A person's click first moves the focus to the clicked control; a Validate that keeps the focus
// where it was swallows the click.
bool focusForClick(Control& c) {
  if (!c.isReachable()) return false;
  Form* f = c.form();
  if (f == nullptr || !c.canFocus()) return true;
  return f->moveFocus(c);
}

}  // namespace

CommandButton::CommandButton(std::string name, std::string caption)
    : Control(ControlKind::CommandButton, std::move(name)), caption_(std::move(caption)) {}

void CommandButton::setCaption(std::string caption) {
  assign(caption_, std::move(caption), "Caption");
}
void CommandButton::setPicture(int id) {
  assign(picture_, id, "Picture");
}
void CommandButton::setDefault(bool on) {
  assign(default_, on, "Default");
}
void CommandButton::setCancel(bool on) {
  assign(cancel_, on, "Cancel");
}

std::string CommandButton::displayText() const {
  return parseCaption(caption_).text;
}

bool CommandButton::defaultKeyDown(int keyCode, int shift) {
  if ((keyCode == vbKeyReturn || keyCode == vbKeySpace) && shift == 0) {
    fireClick();
    return true;
  }
  return false;
}

bool CommandButton::userClick() {
  if (!focusForClick(*this)) return false;
  fireClick();
  return true;
}

void CommandButton::fireClick() {
  if (isReachable() && Click) Click();
}

CheckBox::CheckBox(std::string name, std::string caption)
    : Control(ControlKind::CheckBox, std::move(name)), caption_(std::move(caption)) {}

void CheckBox::setCaption(std::string caption) {
  assign(caption_, std::move(caption), "Caption");
}

void CheckBox::setValue(int value) {
  if (value < vbUnchecked || value > vbGrayed) value = vbUnchecked;
  if (value == value_) return;
  value_ = value;
  notify("Value");
  if (Click) Click();
}

bool CheckBox::defaultKeyPress(int keyAscii) {
  if (keyAscii != vbKeySpace) return false;
  setValue(value_ == vbChecked ? vbUnchecked : vbChecked);
  return true;
}

bool CheckBox::userClick() {
  if (!focusForClick(*this)) return false;
  setValue(value_ == vbChecked ? vbUnchecked : vbChecked);
  return true;
}

OptionButton::OptionButton(std::string name, std::string caption)
    : Control(ControlKind::OptionButton, std::move(name)), caption_(std::move(caption)) {}

void OptionButton::setCaption(std::string caption) {
  assign(caption_, std::move(caption), "Caption");
}

void OptionButton::setValue(bool value) {
  if (value == value_) return;
  value_ = value;
  notify("Value");
  if (!value) return;
  // Options sharing a container (and tab page) form one group.
  if (Form* f = form()) {
    for (Control* c : f->controls()) {
      auto* other = dynamic_cast<OptionButton*>(c);
      if (other == nullptr || other == this || other->container() != container() ||
          other->containerTab() != containerTab() || !other->value_) {
        continue;
      }
      other->value_ = false;
      other->notify("Value");
    }
  }
  if (Click) Click();
}

bool OptionButton::userClick() {
  if (!focusForClick(*this)) return false;
  if (value_) {
    if (Click) Click();
  } else {
    setValue(true);
  }
  return true;
}

}  // namespace quillon::forms
