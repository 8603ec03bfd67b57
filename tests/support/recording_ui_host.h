// The UI host of the dialog and module tests: it plays the person where a test says how (the modal
// form, the next message-box answers, lookup choices, calendar dates, pop-up menu items and
// column-settings edits) and records what it was asked.
// Everything else is answered as someone who presses the default button and cancels the rest.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/silent_ui_host.h"

namespace quillon::test_support {

// A lookup list as it was shown: the request and the texts of its rows, read while it showed.
struct ShownLookup {
  std::string query;
  std::string title;
  std::string table;
  bool multiSelect = false;
  std::vector<std::string> fieldNames;
  std::vector<std::vector<std::string>> rows;

  // The texts of the field named `name` (without regard to case), one a row; none without it.
  std::vector<std::string> column(std::string_view name) const;
};

class RecordingUiHost : public SilentUiHost {
 public:
  // Runs while a form is shown modally; the host then closes the form, as its close box would,
  // when it is still open.
  std::function<void(forms::Form&)> onModal;
  int modalRuns = 0;

  std::vector<forms::MessageBoxRequest> messages;
  std::deque<int> answers;  // the next message-box answers; the default button after them
  std::vector<ShownLookup> lookups;
  std::deque<std::vector<int>> picks;       // the rows chosen in the next lookup lists; then none
  std::deque<automation::DateValue> dates;  // the next calendar answers; then cancelled
  std::vector<forms::CalendarRequest> calendarRequests;      // the calendars shown
  std::vector<forms::ColumnSettingsRequest> columnRequests;  // the column settings shown
  std::deque<std::string> columnEdits;  // the next confirmed edits of them; then cancelled
  std::string popupChoice;              // the item chosen in the pop-up menus
  std::vector<std::string> popups;      // the pop-up menus shown
  int beeps = 0;
  // Input boxes, filter dialogs and save-file questions: what was asked, and the next answers
  // (nullopt cancels); cancelled after them.
  std::vector<forms::InputBoxRequest> inputRequests;
  std::deque<std::optional<std::string>> inputs;
  std::vector<forms::FilterRequest> filterRequests;
  std::deque<std::optional<std::string>> filters;
  // Field values typed into the next confirmed filter dialog (one list per dialog, taken along
  // with the next `filters` answer); then none.
  std::deque<std::vector<forms::FilterValue>> filterValues;
  std::vector<forms::SaveFileRequest> saveRequests;
  std::deque<std::optional<std::string>> saves;

  std::string lastMessage() const { return messages.empty() ? "" : messages.back().prompt; }

  void runModal(forms::Form& form) override;
  int messageBox(const forms::MessageBoxRequest& request) override;
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest& request) override;
  std::optional<automation::DateValue> calendar(const forms::CalendarRequest& request) override;
  forms::Menu* popupMenu(forms::Form& form, forms::Menu& menu) override;
  std::optional<std::string> inputBox(const forms::InputBoxRequest& request) override;
  forms::FilterResult filterDialog(const forms::FilterRequest& request) override;
  std::optional<std::string> saveFileName(const forms::SaveFileRequest& request) override;
  std::optional<std::string> columnSettings(const forms::ColumnSettingsRequest& request) override;
  void beep() override { ++beeps; }
};

// A host through which a person (not a script) works the forms: what she last filtered by is kept.
class PersonUiHost final : public RecordingUiHost {
 public:
  bool remembersFilters() const override { return true; }
};

}  // namespace quillon::test_support
