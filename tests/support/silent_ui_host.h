// A UI host for tests that play the person only where they look: everywhere else it answers as
// someone who presses the default button and cancels the rest.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/ui_host.h"

namespace quillon::test_support {

// What to do with a modal form stays each test's own choice (runModal).
class SilentUiHost : public forms::UiHost {
 public:
  int messageBox(const forms::MessageBoxRequest& request) override {
    return request.defaultAnswer();
  }
  std::optional<std::string> inputBox(const forms::InputBoxRequest&) override {
    return std::nullopt;
  }
  std::optional<automation::DateValue> calendar(const forms::CalendarRequest&) override {
    return std::nullopt;
  }
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> columnSettings(const forms::ColumnSettingsRequest&) override {
    return std::nullopt;
  }
  forms::FilterResult filterDialog(const forms::FilterRequest&) override { return {}; }
  forms::Menu* popupMenu(forms::Form&, forms::Menu&) override { return nullptr; }
  void beep() override {}
};

}  // namespace quillon::test_support
