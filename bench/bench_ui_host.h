// The UI host of the headless dialog benchmarks: it plays the user of one kind of form (runs
// `drive` on it when it is shown modally, then leaves it with its close box), answers message
// boxes with `answer` (0: the default button) and cancels every other dialog. It counts the
// notices apart (a box with only an OK button: a refusal or an error, not a question) and keeps
// the last one's text.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/ui_host.h"

namespace quillon::bench {

template <class FormT>
class DrivingHost : public forms::UiHost {
 public:
  std::function<void(FormT&)> drive;
  int answer = 0;
  int messages = 0;
  int notices = 0;
  std::string lastNotice;

  void runModal(forms::Form& form) override {
    if (drive) drive(dynamic_cast<FormT&>(form));
    if (form.Visible()) form.userClose();
  }
  int messageBox(const forms::MessageBoxRequest& r) override {
    ++messages;
    if (r.buttons == forms::vbOKOnly) {
      ++notices;
      lastNotice = r.prompt;
    }
    return answer != 0 ? answer : r.defaultAnswer();
  }
  std::optional<std::string> inputBox(const forms::InputBoxRequest&) override { return {}; }
  std::optional<automation::DateValue> calendar(const forms::CalendarRequest&) override {
    return {};
  }
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest&) override { return {}; }
  std::optional<std::string> columnSettings(const forms::ColumnSettingsRequest&) override {
    return {};
  }
  forms::FilterResult filterDialog(const forms::FilterRequest&) override { return {}; }
  forms::Menu* popupMenu(forms::Form&, forms::Menu&) override { return nullptr; }
  void beep() override {}
};

}  // namespace quillon::bench
