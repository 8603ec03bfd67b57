// The UI host of the dialog tests: it plays the person where a test says how (the modal form, the
// next message-box answers, lookup choices and pop-up menu items) and records what it was asked.
// Everything else is answered as someone who presses the default button and cancels the rest.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/silent_ui_host.h"

namespace quillon::test_support {

class RecordingUiHost : public SilentUiHost {
 public:
  // Runs while a form is shown modally; the host then closes the form, as its close box would,
  // when it is still open.
  std::function<void(forms::Form&)> onModal;
  int modalRuns = 0;

  std::vector<forms::MessageBoxRequest> messages;
  std::deque<int> answers;  // the next message-box answers; the default button after them
  std::vector<forms::LookupRequest> lookups;
  std::deque<std::vector<int>> picks;  // the rows chosen in the next lookup lists
  std::string popupChoice;             // the item chosen in the pop-up menus
  std::vector<std::string> popups;     // the pop-up menus shown
  int beeps = 0;

  std::string lastMessage() const { return messages.empty() ? "" : messages.back().prompt; }

  void runModal(forms::Form& form) override;
  int messageBox(const forms::MessageBoxRequest& request) override;
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest& request) override;
  forms::Menu* popupMenu(forms::Form& form, forms::Menu& menu) override;
  void beep() override { ++beeps; }
};

}  // namespace quillon::test_support
