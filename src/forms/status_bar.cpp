#include "forms/status_bar.h"

#include "automation/com_error.h"

namespace quillon::forms {

StatusBar::StatusBar(std::string name) : Control(ControlKind::StatusBar, std::move(name)) {}

void StatusBar::setStyle(int style) {
  assign(style_, style, "Style");
}
void StatusBar::setSimpleText(std::string text) {
  assign(simpleText_, std::move(text), "SimpleText");
}

int StatusBar::addPanel(std::string text, int width, std::string key) {
  panels_.push_back({std::move(key), std::move(text), width});
  notify("Panels");
  return panelCount();
}

const StatusPanel& StatusBar::panel(int index) const {
  if (index < 1 || index > panelCount()) throw automation::ComError::indexOutOfBounds();
  return panels_[static_cast<std::size_t>(index) - 1];
}

void StatusBar::setPanelText(int index, std::string text) {
  panel(index);
  auto& p = panels_[static_cast<std::size_t>(index) - 1];
  if (p.text == text) return;
  p.text = std::move(text);
  notify("Panels");
}

std::string StatusBar::displayText() const {
  if (style_ == sbrSimple || panels_.empty()) return simpleText_;
  return panels_.front().text;
}

}  // namespace quillon::forms
