#include "forms/menu.h"

#include "automation/com_error.h"

namespace quillon::forms {

Menu::Menu(std::string name, std::string caption, Menu* parent)
    : Control(ControlKind::Menu, std::move(name)), caption_(std::move(caption)), parent_(parent) {
  if (parent_ != nullptr) parent_->items_.push_back(this);
}

void Menu::setCaption(std::string caption) {
  assign(caption_, std::move(caption), "Caption");
}
void Menu::setChecked(bool on) {
  assign(checked_, on, "Checked");
}

Menu* Menu::topLevel() {
  Menu* m = this;
  while (m->parent_ != nullptr) m = m->parent_;
  return m;
}

bool Menu::choosable() const {
  for (const Menu* m = this; m != nullptr && m->parent_ != nullptr; m = m->parent_) {
    if (!m->Visible() || !m->Enabled()) return false;
  }
  // A top-level menu without items is itself a command.
  return parent_ != nullptr || (Visible() && Enabled());
}

bool Menu::userChoose() {
  if (!choosable()) return false;
  if (parent_ != nullptr) {
    const Menu* top = parent_;
    while (top->parent_ != nullptr) top = top->parent_;
    if (!top->Enabled()) return false;
  }
  if (Click) Click();
  return true;
}

}  // namespace quillon::forms
