// CorvidXTabStrip: the tab control the lists lie on. Tabs are numbered from 0. Changing the current
// tab — by a person or by code — runs Click with the previous tab.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"

namespace quillon::forms {

class CorvidXTabStrip : public Control {
 public:
  CorvidXTabStrip(std::string name, std::vector<std::string> captions = {});

  int Tabs() const { return static_cast<int>(tabs_.size()); }
  void setTabs(int count);
  int Tab() const { return current_; }
  // ComError 380 "Invalid property value" out of range.
  void setTab(int tab);
  bool TabEnabled(int tab) const;
  void setTabEnabled(int tab, bool on);
  const std::string& TabCaption(int tab) const;
  void setTabCaption(int tab, std::string caption);

  bool canFocus() const override { return true; }
  std::string displayText() const override;

  std::function<void(int PreviousTab)> Click;

  // A person chooses a tab; refused (false) for a tab out of range or not enabled.
  bool userSelectTab(int tab);

 private:
  void checkTab(int tab) const;
  struct TabPage {
    std::string caption;
    bool enabled = true;
  };
  std::vector<TabPage> tabs_;
  int current_ = 0;
};

}  // namespace quillon::forms
