#include "forms/toolbar.h"

#include "automation/com_error.h"

namespace quillon::forms {

using automation::ComError;

Toolbar::Toolbar(std::string name) : Control(ControlKind::Toolbar, std::move(name)) {}

void Toolbar::setImageList(std::string name) {
  assign(imageList_, std::move(name), "ImageList");
}

ToolbarButton& Toolbar::addButton(std::string key, std::string caption, std::string image,
                                  int style) {
  if (!key.empty() && findButton(key) != nullptr) {
    throw ComError::keyNotUnique();
  }
  ToolbarButton b;
  b.key = std::move(key);
  b.caption = std::move(caption);
  b.image = std::move(image);
  b.style = style;
  buttons_.push_back(std::move(b));
  notify("Buttons");
  return buttons_.back();
}

ToolbarButton* Toolbar::findButton(std::string_view key) {
  if (key.empty()) return nullptr;
  for (auto& b : buttons_) {
    if (b.key == key) return &b;
  }
  return nullptr;
}

ToolbarButton& Toolbar::button(std::string_view key) {
  ToolbarButton* b = findButton(key);
  if (b == nullptr) throw ComError::elementNotFound();
  return *b;
}

void Toolbar::setButtonEnabled(std::string_view key, bool on) {
  button(key).enabled = on;
  notify("Buttons");
}

void Toolbar::setButtonVisible(std::string_view key, bool on) {
  button(key).visible = on;
  notify("Buttons");
}

void Toolbar::setButtonValue(std::string_view key, int value) {
  button(key).value = value != 0 ? 1 : 0;
  notify("Buttons");
}

void Toolbar::setButtonImage(std::string_view key, std::string image) {
  button(key).image = std::move(image);
  notify("Buttons");
}

void Toolbar::setButtonCaption(std::string_view key, std::string caption) {
  button(key).caption = std::move(caption);
  notify("Buttons");
}

ToolbarButton* Toolbar::press(std::string_view key) {
  ToolbarButton* b = findButton(key);
  if (b == nullptr || !b->enabled || !b->visible || b->style == ToolbarButton::tbrSeparator) {
    return nullptr;
  }
  if (b->style == ToolbarButton::tbrCheck) {
    b->value = b->value != 0 ? 0 : 1;
    notify("Buttons");
  }
  return b;
}

bool Toolbar::userPress(std::string_view key) {
  if (!isReachable()) return false;
  ToolbarButton* b = press(key);
  if (b == nullptr) return false;
  if (ButtonClick) ButtonClick(*b);
  return true;
}

CTBCtrl::CTBCtrl(std::string name) : Control(ControlKind::ToolbarControl, std::move(name)) {}

void CTBCtrl::setToolbar(Toolbar* toolbar) {
  toolbar_ = toolbar;
  notify("Toolbar");
}

void CTBCtrl::setStyle(int style) {
  assign(style_, style, "Style");
}

bool CTBCtrl::userPress(std::string_view key) {
  if (toolbar_ == nullptr || !isReachable()) return false;
  ToolbarButton* b = toolbar_->press(key);
  if (b == nullptr) return false;
  const std::string pressed = b->key;  // the handler may change the toolbar
  if (ButtonClick) ButtonClick(pressed);
  return true;
}

}  // namespace quillon::forms
