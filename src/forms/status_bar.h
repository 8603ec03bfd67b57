// StatusBar: panels with texts, or one simple text when Style is 1.
#pragma once

#include <string>
#include <vector>

#include "forms/control.h"

namespace quillon::forms {

struct StatusPanel {
  std::string key;
  std::string text;
  int width = 1440;
};

class StatusBar : public Control {
 public:
  static constexpr int sbrNormal = 0;
  static constexpr int sbrSimple = 1;

  explicit StatusBar(std::string name);

  int Style() const { return style_; }
  void setStyle(int style);
  const std::string& SimpleText() const { return simpleText_; }
  void setSimpleText(std::string text);
  int addPanel(std::string text = {}, int width = 1440, std::string key = {});
  int panelCount() const { return static_cast<int>(panels_.size()); }
  // 1-based; ComError 35600 out of range.
  const StatusPanel& panel(int index) const;
  void setPanelText(int index, std::string text);

  // The simple text in simple style, else the first panel's text.
  std::string displayText() const override;

 private:
  int style_ = sbrNormal;
  std::string simpleText_;
  std::vector<StatusPanel> panels_;
};

}  // namespace quillon::forms
