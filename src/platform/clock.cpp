#include "platform/clock.h"

#include <charconv>
#include <cstdlib>
#include <ctime>

namespace quillon::platform {
namespace {

// Days from 1970-01-01 to a civil date in the proleptic Gregorian calendar.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool readNumber(std::string_view text, std::size_t pos, std::size_t width, int& out) {
  if (pos + width > text.size()) return false;
  const char* first = text.data() + pos;
  const char* last = first + width;
  for (const char* p = first; p != last; ++p)
    if (*p < '0' || *p > '9') return false;
  return std::from_chars(first, last, out).ec == std::errc{};
}

}  // namespace

std::optional<Clock::TimePoint> parseLocalTime(std::string_view text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (text.size() != 10 && text.size() != 19) return std::nullopt;
  if (!readNumber(text, 0, 4, year) || text[4] != '-' || !readNumber(text, 5, 2, month) ||
      text[7] != '-' || !readNumber(text, 8, 2, day))
    return std::nullopt;
  if (text.size() == 19 &&
      (text[10] != ' ' || !readNumber(text, 11, 2, hour) || text[13] != ':' ||
       !readNumber(text, 14, 2, minute) || text[16] != ':' || !readNumber(text, 17, 2, second)))
    return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59)
    return std::nullopt;
  const long long thisMonth = daysFromCivil(year, static_cast<unsigned>(month), 1);
  const long long nextMonth = month == 12
                                  ? daysFromCivil(year + 1, 1, 1)
                                  : daysFromCivil(year, static_cast<unsigned>(month + 1), 1);
  if (day > nextMonth - thisMonth) return std::nullopt;

  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
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
  const long long days =
      daysFromCivil(local.tm_year + 1900LL, static_cast<unsigned>(local.tm_mon + 1),
                    static_cast<unsigned>(local.tm_mday)) -
      daysFromCivil(1899, 12, 30);
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
