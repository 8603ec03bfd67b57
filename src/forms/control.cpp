#include "forms/control.h"

#include <cctype>

#include "automation/com_error.h"
#include "automation/text_compare.h"
#include "forms/form.h"

namespace quillon::forms {

using automation::ComError;

std::string_view controlKindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
      return "TextBox";
    case ControlKind::Label:
      return "Label";
    case ControlKind::CommandButton:
      return "CommandButton";
    case ControlKind::CheckBox:
      return "CheckBox";
    case ControlKind::OptionButton:
      return "OptionButton";
    case ControlKind::ComboBox:
      return "ComboBox";
    case ControlKind::Frame:
      return "Frame";
    case ControlKind::ListView:
      return "ListView";
    case ControlKind::TreeView:
      return "TreeView";
    case ControlKind::SuperGrid:
      return "MsSuperGrid";
    case ControlKind::VouchList:
      return "MarlinVouchList";
    case ControlKind::TabStrip:
      return "CorvidXTabStrip";
    case ControlKind::Toolbar:
      return "Toolbar";
    case ControlKind::ToolbarControl:
      return "CTBCtrl";
    case ControlKind::StatusBar:
      return "StatusBar";
    case ControlKind::Menu:
      return "Menu";
    case ControlKind::NumericEdit:
      return "NumericEdit";
    case ControlKind::HeadItem:
      return "ctlheadItem";
    case ControlKind::ImageList:
      return "ImageList";
  }
  return "Control";
}

Control::Control(ControlKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}

Control::~Control() = default;

std::string Control::qualifiedName() const {
  if (index_ < 0) return name_;
  return name_ + "(" + std::to_string(index_) + ")";
}

void Control::setLeft(int v) {
  assign(geometry_.left, v, "Left");
}
void Control::setTop(int v) {
  assign(geometry_.top, v, "Top");
}
void Control::setWidth(int v) {
  assign(geometry_.width, v, "Width");
}
void Control::setHeight(int v) {
  assign(geometry_.height, v, "Height");
}

void Control::Move(int left, int top, int width, int height) {
  if (geometry_.left == left && geometry_.top == top && geometry_.width == width &&
      geometry_.height == height) {
    return;
  }
  geometry_.left = left;
  geometry_.top = top;
  geometry_.width = width;
  geometry_.height = height;
  notify("Geometry");
}

void Control::setContainer(Control* container, int tab) {
  for (Control* c = container; c != nullptr; c = c->container()) {
    if (c == this) throw ComError::invalidProcedureCall();
  }
  geometry_.container = container;
  geometry_.tab = tab;
  notify("Container");
}

void Control::setVisible(bool v) {
  assign(visible_, v, "Visible");
  if (!v && form_ != nullptr && form_->ActiveControl() == this) form_->focusNext();
}

void Control::setEnabled(bool v) {
  assign(enabled_, v, "Enabled");
  if (!v && form_ != nullptr && form_->ActiveControl() == this) form_->focusNext();
}

void Control::setTabIndex(int v) {
  assign(tabIndex_, v, "TabIndex");
}
void Control::setTabStop(bool v) {
  assign(tabStop_, v, "TabStop");
}
void Control::setToolTipText(std::string v) {
  assign(toolTip_, std::move(v), "ToolTipText");
}
void Control::setFontSize(std::optional<double> v) {
  assign(fontSize_, v, "FontSize");
}
void Control::setTag(std::string v) {
  assign(tag_, std::move(v), "Tag");
}

bool Control::isReachable() const {
  for (const Control* c = this; c != nullptr; c = c->container()) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

bool Control::hasFocus() const {
  return form_ != nullptr && form_->ActiveControl() == this;
}

void Control::SetFocus() {
  if (form_ == nullptr || !form_->Visible() || !canFocus() || !isReachable()) {
    throw ComError::invalidProcedureCall();
  }
  form_->moveFocus(*this);
}

void Control::userMouseUp(int button, int shift, int x, int y) {
  if (!isReachable()) return;
  if (MouseUp) MouseUp(button, shift, x, y);
}

void Control::userMouseMove(int button, int shift, int x, int y) {
  if (!isReachable()) return;
  if (MouseMove) MouseMove(button, shift, x, y);
}

void Control::notify(std::string_view property) {
  propertyChanged.emit(*this, property);
}

CaptionParts parseCaption(std::string_view caption) {
  CaptionParts parts;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != '&' && parts.accelerator == 0 &&
          std::isalnum(static_cast<unsigned char>(caption[i])) != 0) {
        parts.accelerator = automation::upperAscii(caption[i]);
      }
    }
    parts.text += caption[i];
  }
  return parts;
}

}  // namespace quillon::forms
