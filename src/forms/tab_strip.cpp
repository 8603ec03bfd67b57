#include "forms/tab_strip.h"

#include "automation/com_error.h"
#include "forms/form.h"

namespace quillon::forms {

using automation::ComError;

CorvidXTabStrip::CorvidXTabStrip(std::string name, std::vector<std::string> captions)
    : Control(ControlKind::TabStrip, std::move(name)) {
  for (auto& c : captions) tabs_.push_back({std::move(c), true});
  if (tabs_.empty()) tabs_.push_back({});
}

void CorvidXTabStrip::checkTab(int tab) const {
  if (tab < 0 || tab >= Tabs()) throw ComError::invalidPropertyValue();
}

void CorvidXTabStrip::setTabs(int count) {
  if (count < 1) throw ComError::invalidPropertyValue();
  tabs_.resize(static_cast<std::size_t>(count));
  notify("Tabs");
  if (current_ >= count) setTab(count - 1);
}

void CorvidXTabStrip::setTab(int tab) {
  checkTab(tab);
  if (tab == current_) return;
  const int previous = current_;
  current_ = tab;
  notify("Tab");
  if (Click) Click(previous);
}

bool CorvidXTabStrip::TabEnabled(int tab) const {
  checkTab(tab);
  return tabs_[static_cast<std::size_t>(tab)].enabled;
}

void CorvidXTabStrip::setTabEnabled(int tab, bool on) {
  checkTab(tab);
  auto& flag = tabs_[static_cast<std::size_t>(tab)].enabled;
  if (flag == on) return;
  flag = on;
  notify("TabEnabled");
}

const std::string& CorvidXTabStrip::TabCaption(int tab) const {
  checkTab(tab);
  return tabs_[static_cast<std::size_t>(tab)].caption;
}

void CorvidXTabStrip::setTabCaption(int tab, std::string caption) {
  checkTab(tab);
  tabs_[static_cast<std::size_t>(tab)].caption = std::move(caption);
  notify("TabCaption");
}

std::string CorvidXTabStrip::displayText() const {
  return TabCaption(current_);
}

bool CorvidXTabStrip::userSelectTab(int tab) {
  if (!isReachable() || tab < 0 || tab >= Tabs() || !tabs_[static_cast<std::size_t>(tab)].enabled) {
    return false;
  }
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  setTab(tab);
  return true;
}

}  // namespace quillon::forms
