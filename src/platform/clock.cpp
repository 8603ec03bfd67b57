#include "platform/clock.h"

#include <cstdlib>
#include <ctime>

#include "automation/calendar.h"

namespace quillon::platform {

std::optional<Clock::TimePoint> parseLocalTime(std::string_view text) {
  const auto read = automation::calendar::readDateText(text, automation::calendar::kIsoDayOrSecond);
  if (!read) return std::nullopt;
  std::tm local{};
  local.tm_year = read->date.year - 1900;
  local.tm_mon = read->date.month - 1;
  local.tm_mday = read->date.day;
  local.tm_hour = read->hour;
  local.tm_min = read->minute;
  local.tm_sec = read->second;
  local.tm_isdst = -1;
  const std::time_t t = std::mktime(&local);
  if (t == static_cast<std::time_t>(-1)) return std::nullopt;
  return std::chrono::system_clock::from_time_t(t);
}

automation::DateValue toAutomationDate(Clock::TimePoint moment) {
  using namespace std::chrono;
  const auto whole = floor<seconds>(moment);
  const std::time_t t = system_clock::to_time_t(whole);
  std::tm local{};
  if (::localtime_r(&t, &local) == nullptr) return {};
  const auto days =
      automation::calendar::dayNumber(local.tm_year + 1900LL, local.tm_mon + 1, local.tm_mday);
  const double fraction = duration<double>(moment - whole).count();
  const double secondsOfDay =
      local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
  // Before 1899-12-30 the serial's fraction still counts forward from midnight, as the platform's
  // dates do, so the day part goes negative while the time part stays positive.
  const double serial = days >= 0 ? static_cast<double>(days) + secondsOfDay / 86400.0
                                  : static_cast<double>(days) - secondsOfDay / 86400.0;
  return automation::DateValue{serial};
}

automation::DateValue Clock::nowAsDate() const {
  return toAutomationDate(now());
}

Clock clockFromEnvironment() {
  Clock clock;
  const char* text = std::getenv(kClockVariable.data());
  if (text != nullptr) {
    if (auto moment = parseLocalTime(text)) clock.pin(*moment);
  }
  return clock;
}

}  // namespace quillon::platform
