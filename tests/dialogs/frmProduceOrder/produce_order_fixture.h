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
#include "support/silent_ui_host.h"

namespace quillon::dialogs::testing {

// The demo account with every class registered; a copy for a test that writes.
const std::string& demoPath();
std::string demoCopy(const std::string& name);
// A login on the demo account (which registers every class first) or on a copy of it.
std::shared_ptr<components::suite::Login> loginAs(const std::string& user,
                                                  const std::string& path = demoPath());

class DriverHost : public test_support::SilentUiHost {
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
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest& request) override;
  forms::Menu* popupMenu(forms::Form& form, forms::Menu& menu) override;
  void beep() override { ++beeps; }
};

}  // namespace quillon::dialogs::testing
