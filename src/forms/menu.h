// Menu: one menu item. Items without a parent are top-level menus; a top-level menu declared
// invisible serves as a pop-up menu (Form::PopupMenu) whose items are reachable only while it is
// popped up.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"

namespace quillon::forms {

class Menu : public Control {
 public:
  Menu(std::string name, std::string caption, Menu* parent = nullptr);

  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption);
  bool Checked() const { return checked_; }
  void setChecked(bool on);
  Menu* parentMenu() const { return parent_; }
  const std::vector<Menu*>& items() const { return items_; }
  Menu* topLevel();

  std::string displayText() const override { return caption_; }

  std::function<void()> Click;

  // A person chooses the item: refused (false) when it or a parent item is disabled or hidden.
  bool userChoose();
  // Visible and enabled, with every parent item below the top level.
  bool choosable() const;

 private:
  std::string caption_;
  bool checked_ = false;
  Menu* parent_;
  std::vector<Menu*> items_;
};

}  // namespace quillon::forms
