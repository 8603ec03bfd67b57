#include "forms/ui_host.h"

#include <cmath>
#include <cstdio>

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

// Days from 1899-12-30 to a civil date (proleptic Gregorian).
long daysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<long>(era) * 146097 + doe - 719468 + 25569;
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
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto number = [&](std::size_t from, std::size_t count) {
    int v = 0;
    for (std::size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      v = v * 10 + (text[i] - '0');
    }
    return v;
  };
  const int y = number(0, 4);
  const int m = number(5, 2);
  const int d = number(8, 2);
  if (y < 100 || m < 1 || m > 12 || d < 1) return std::nullopt;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  const int last = kDays[m - 1] + (m == 2 && leap ? 1 : 0);
  if (d > last) return std::nullopt;
  return DateValue{static_cast<double>(daysFromCivil(y, m, d))};
}

std::string formatIsoDate(DateValue date) {
  long z = static_cast<long>(std::floor(date.serial)) - 25569 + 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long y = yoe + era * 400;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const long d = doy - (153 * mp + 2) / 5 + 1;
  const long m = mp + (mp < 10 ? 3 : -9);
  y += m <= 2 ? 1 : 0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04ld-%02ld-%02ld", y, m, d);
  return buffer;
}

}  // namespace quillon::forms
