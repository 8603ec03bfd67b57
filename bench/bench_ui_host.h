// The UI host of the headless dialog benchmarks: it plays the user of one kind of form (runs
// `drive` on it when it is shown modally, then leaves it with its close box), answers message
// boxes with `answer` (0: the default button) and cancels every other dialog. It counts the
// notices apart (a box with only an OK button: a refusal or an error, not a question) and keeps
// the last one's text.
//
// With QUILLON_BENCH_FIRST_SCREEN=1 in the environment it says, as the drawn host does, that a
// person sees the lists as they fill: a dialog's large list then reads its first screen and leaves
// the rest to load while it is shown, so a filter is timed to its first screen.
#pragma once

#include <cstdlib>
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
  bool listsGrowWhileShown() const override {
    static const bool firstScreen = [] {
      const char* v = std::getenv("QUILLON_BENCH_FIRST_SCREEN");
      return v != nullptr && std::string(v) == "1";
    }();
    return firstScreen;
  }
};

}  // namespace quillon::bench
