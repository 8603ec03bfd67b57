// Shared set-up of the production-order dialog tests: every class registered once, a scale-1 demo
// account in a scratch directory (with private copies for tests that write), logins, and a UI
// host that lets a test drive the modal dialog from C++ and records what it was asked.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/suite/login.h"
#include "forms/ui_host.h"

namespace quillon::dialogs::testing {

const std::string& demoPath();
std::string demoCopy(const std::string& name);
std::shared_ptr<components::suite::Login> loginAs(const std::string& user,
                                                  const std::string& path = demoPath());

class DriverHost : public forms::UiHost {
 public:
  // Runs while the form is shown modally; the host closes it afterwards as its close box would.
  std::function<void(forms::Form&)> drive;
  std::vector<forms::MessageBoxRequest> messages;
  std::vector<forms::LookupRequest> lookups;
  std::deque<std::vector<int>> picks;  // answers of the next lookup lists
  std::string popupChoice;             // item chosen in the next pop-up menu
  std::vector<std::string> popups;     // pop-up menus shown
  int beeps = 0;

  std::string lastMessage() const { return messages.empty() ? "" : messages.back().prompt; }

  void runModal(forms::Form& form) override;
  int messageBox(const forms::MessageBoxRequest& request) override;
  std::optional<std::string> inputBox(const forms::InputBoxRequest&) override {
    return std::nullopt;
  }
  std::optional<automation::DateValue> calendar(const forms::CalendarRequest&) override {
    return std::nullopt;
  }
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest& request) override;
  std::optional<std::string> columnSettings(const forms::ColumnSettingsRequest&) override {
    return std::nullopt;
  }
  forms::FilterResult filterDialog(const forms::FilterRequest&) override { return {}; }
  forms::Menu* popupMenu(forms::Form& form, forms::Menu& menu) override;
  void beep() override { ++beeps; }
};

}  // namespace quillon::dialogs::testing
