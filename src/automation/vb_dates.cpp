#include "automation/vb_dates.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "automation/com_error.h"

namespace quillon::automation {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
}

const std::int64_t kEpochOffset = daysFromCivil(1899, 12, 30);

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2) {
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
  }
  return kDays[month - 1];
}

DateValue serialFromDayAndSeconds(std::int64_t day, int seconds) {
  double frac = seconds / 86400.0;
  // Before the epoch the integer part counts backwards but the time still runs forwards.
  double serial = day >= 0 ? static_cast<double>(day) + frac : static_cast<double>(day) - frac;
  return DateValue{serial};
}

// Reads 1..maxDigits decimal digits at pos.
bool readNumber(std::string_view s, std::size_t& pos, int minDigits, int maxDigits, int& out) {
  int n = 0;
  int value = 0;
  while (pos < s.size() && n < maxDigits && s[pos] >= '0' && s[pos] <= '9') {
    value = value * 10 + (s[pos] - '0');
    ++pos;
    ++n;
  }
  if (n < minDigits) return false;
  out = value;
  return true;
}

DateValue fromTimePoint(std::chrono::system_clock::time_point tp, bool withTime) {
  std::time_t t = std::chrono::system_clock::to_time_t(tp);
  std::tm local{};
  localtime_r(&t, &local);
  DateParts p;
  p.year = local.tm_year + 1900;
  p.month = local.tm_mon + 1;
  p.day = local.tm_mday;
  if (withTime) {
    p.hour = local.tm_hour;
    p.minute = local.tm_min;
    p.second = local.tm_sec > 59 ? 59 : local.tm_sec;
  }
  return toSerial(p);
}

}  // namespace

bool isValidCalendarDate(int year, int month, int day) {
  if (year < 100 || year > 9999) return false;
  if (month < 1 || month > 12) return false;
  return day >= 1 && day <= daysInMonth(year, month);
}

DateValue toSerial(const DateParts& p) {
  if (!isValidCalendarDate(p.year, p.month, p.day) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
      p.minute > 59 || p.second < 0 || p.second > 59) {
    throw ComError::invalidProcedureCall();
  }
  std::int64_t day =
      daysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) -
      kEpochOffset;
  return serialFromDayAndSeconds(day, p.hour * 3600 + p.minute * 60 + p.second);
}

DateParts fromSerial(DateValue value) {
  // Serials of 1 January 100 and 31 December 9999, with the whole last day.
  if (!std::isfinite(value.serial) || value.serial < -657434.0 || value.serial >= 2958466.0) {
    throw ComError::overflow();
  }
  auto day = static_cast<std::int64_t>(std::trunc(value.serial));
  double frac = std::fabs(value.serial - static_cast<double>(day));
  auto seconds = static_cast<std::int64_t>(std::llround(frac * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    day += 1;
  }
  DateParts p;
  civilFromDays(day + kEpochOffset, p.year, p.month, p.day);
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  if (p.year > 9999) throw ComError::overflow();
  return p;
}

std::optional<DateValue> parseDateText(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  std::string_view s = text.substr(b, e - b);

  DateParts p;
  std::size_t pos = 0;
  if (!readNumber(s, pos, 4, 4, p.year)) return std::nullopt;
  if (pos >= s.size() || (s[pos] != '-' && s[pos] != '/')) return std::nullopt;
  const char sep = s[pos++];
  if (!readNumber(s, pos, 1, 2, p.month)) return std::nullopt;
  if (pos >= s.size() || s[pos] != sep) return std::nullopt;
  ++pos;
  if (!readNumber(s, pos, 1, 2, p.day)) return std::nullopt;
  if (pos < s.size()) {
    if (s[pos] != ' ') return std::nullopt;
    while (pos < s.size() && s[pos] == ' ') ++pos;
    if (!readNumber(s, pos, 1, 2, p.hour)) return std::nullopt;
    if (pos >= s.size() || s[pos] != ':') return std::nullopt;
    ++pos;
    if (!readNumber(s, pos, 2, 2, p.minute)) return std::nullopt;
    if (pos < s.size()) {
      if (s[pos] != ':') return std::nullopt;
      ++pos;
      if (!readNumber(s, pos, 2, 2, p.second)) return std::nullopt;
    }
    if (pos != s.size()) return std::nullopt;
  }
  if (!isValidCalendarDate(p.year, p.month, p.day) || p.hour > 23 || p.minute > 59 ||
      p.second > 59) {
    return std::nullopt;
  }
  return toSerial(p);
}

std::string formatDateText(DateValue value, bool withTime) {
  DateParts p = fromSerial(value);
  char buf[32];
  if (withTime) {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                  p.minute, p.second);
  } else {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
  }
  return buf;
}

std::string formatDateAuto(DateValue value) {
  DateParts p = fromSerial(value);
  return formatDateText(value, p.hour != 0 || p.minute != 0 || p.second != 0);
}

DateValue DateSerial(int year, int month, int day) {
  if (year >= 0 && year <= 29) year += 2000;
  if (year >= 30 && year <= 99) year += 1900;
  // Normalise the month into the year first, then count the day from the first of that month.
  std::int64_t months = static_cast<std::int64_t>(year) * 12 + (month - 1);
  std::int64_t y = months >= 0 ? months / 12 : (months - 11) / 12;
  auto m = static_cast<unsigned>(months - y * 12 + 1);
  if (y < 0 || y > 20000) {
    throw ComError::invalidProcedureCall();
  }
  std::int64_t days = daysFromCivil(y, m, 1) + (static_cast<std::int64_t>(day) - 1) - kEpochOffset;
  DateValue v = serialFromDayAndSeconds(days, 0);
  if (v.serial < -657434.0 || v.serial >= 2958466.0) {
    throw ComError::invalidProcedureCall();
  }
  return v;
}

DateValue Now() {
  return fromTimePoint(std::chrono::system_clock::now(), true);
}
DateValue Date() {
  return fromTimePoint(std::chrono::system_clock::now(), false);
}

}  // namespace quillon::automation
