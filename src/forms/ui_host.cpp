#include "forms/ui_host.h"

#include <cmath>
#include <cstdio>

#include "automation/calendar.h"
#include "forms/form.h"

namespace quillon::forms {

using automation::DateValue;

MessageBoxRequest MessageBoxRequest::fromFlags(std::string prompt, int flags, std::string title) {
  MessageBoxRequest r;
  r.prompt = std::move(prompt);
  r.title = std::move(title);
  r.buttons = flags & 0x7;
  r.icon = flags & 0x70;
  r.defaultButton = (flags & 0x300) >> 8;
  return r;
}

std::vector<int> MessageBoxRequest::answers() const {
  switch (buttons) {
    case vbOKCancel:
      return {vbOK, vbCancel};
    case vbAbortRetryIgnore:
      return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel:
      return {vbYes, vbNo, vbCancel};
    case vbYesNo:
      return {vbYes, vbNo};
    case vbRetryCancel:
      return {vbRetry, vbCancel};
    default:
      return {vbOK};
  }
}

int MessageBoxRequest::defaultAnswer() const {
  const auto all = answers();
  if (defaultButton < 0 || defaultButton >= static_cast<int>(all.size())) return all.front();
  return all[static_cast<std::size_t>(defaultButton)];
}

std::string answerName(int answer) {
  switch (answer) {
    case vbOK:
      return "OK";
    case vbCancel:
      return "Cancel";
    case vbAbort:
      return "Abort";
    case vbRetry:
      return "Retry";
    case vbIgnore:
      return "Ignore";
    case vbYes:
      return "Yes";
    case vbNo:
      return "No";
    default:
      return std::to_string(answer);
  }
}

std::string buttonsName(int buttons) {
  switch (buttons) {
    case vbOKCancel:
      return "OKCancel";
    case vbAbortRetryIgnore:
      return "AbortRetryIgnore";
    case vbYesNoCancel:
      return "YesNoCancel";
    case vbYesNo:
      return "YesNo";
    case vbRetryCancel:
      return "RetryCancel";
    default:
      return "OKOnly";
  }
}

std::string iconName(int icon) {
  switch (icon) {
    case vbCritical:
      return "critical";
    case vbQuestion:
      return "question";
    case vbExclamation:
      return "exclamation";
    case vbInformation:
      return "information";
    default:
      return "none";
  }
}

namespace {

// Without a user interface: defaults for every question, modal forms closed at once.
class HeadlessUiHost final : public UiHost {
 public:
  void runModal(Form& form) override {
    if (!form.userClose()) form.Hide();
  }
  int messageBox(const MessageBoxRequest& request) override { return request.defaultAnswer(); }
  std::optional<std::string> inputBox(const InputBoxRequest&) override { return std::nullopt; }
  std::optional<DateValue> calendar(const CalendarRequest&) override { return std::nullopt; }
  std::optional<std::vector<int>> lookupList(const LookupRequest&) override { return std::nullopt; }
  std::optional<std::string> columnSettings(const ColumnSettingsRequest&) override {
    return std::nullopt;
  }
  FilterResult filterDialog(const FilterRequest&) override { return {}; }
  Menu* popupMenu(Form&, Menu&) override { return nullptr; }
  void beep() override {}
};

std::shared_ptr<UiHost>& installedHost() {
  static std::shared_ptr<UiHost> host;
  return host;
}

UiHost& headlessHost() {
  static HeadlessUiHost host;
  return host;
}

}  // namespace

UiHost& currentUiHost() {
  auto& host = installedHost();
  return host ? *host : headlessHost();
}

std::shared_ptr<UiHost> setCurrentUiHost(std::shared_ptr<UiHost> host) {
  auto previous = std::move(installedHost());
  installedHost() = std::move(host);
  return previous;
}

ScopedUiHost::ScopedUiHost(std::shared_ptr<UiHost> host)
    : previous_(setCurrentUiHost(std::move(host))) {}

ScopedUiHost::~ScopedUiHost() {
  setCurrentUiHost(std::move(previous_));
}

int MsgBox(std::string prompt, int flags, std::string title) {
  return currentUiHost().messageBox(
      MessageBoxRequest::fromFlags(std::move(prompt), flags, std::move(title)));
}

void Beep() {
  currentUiHost().beep();
}

std::optional<DateValue> parseIsoDate(std::string_view text) {
  const auto read = automation::calendar::readDateText(text, automation::calendar::kIsoDay);
  if (!read || read->date.year < 100) return std::nullopt;
  return DateValue{static_cast<double>(
      automation::calendar::dayNumber(read->date.year, read->date.month, read->date.day))};
}

std::string formatIsoDate(DateValue date) {
  const auto c =
      automation::calendar::civilDate(static_cast<std::int64_t>(std::floor(date.serial)));
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
  return buffer;
}

}  // namespace quillon::forms
