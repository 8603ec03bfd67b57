#include "automation/vb_dates.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "automation/calendar.h"
#include "automation/com_error.h"

namespace quillon::automation {
namespace {

DateValue serialFromDayAndSeconds(std::int64_t day, int seconds) {
  double frac = seconds / 86400.0;
  // Before the epoch the integer part counts backwards but the time still runs forwards.
  double serial = day >= 0 ? static_cast<double>(day) + frac : static_cast<double>(day) - frac;
  return DateValue{serial};
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
  return calendar::isCalendarDay(year, month, day);
}

DateValue toSerial(const DateParts& p) {
  if (!isValidCalendarDate(p.year, p.month, p.day) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
      p.minute > 59 || p.second < 0 || p.second > 59) {
    throw ComError::invalidProcedureCall();
  }
  return serialFromDayAndSeconds(calendar::dayNumber(p.year, p.month, p.day),
                                 p.hour * 3600 + p.minute * 60 + p.second);
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
  const calendar::CivilDate date = calendar::civilDate(day);
  p.year = date.year;
  p.month = date.month;
  p.day = date.day;
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  if (p.year > 9999) throw ComError::overflow();
  return p;
}

std::optional<DateValue> parseDateText(std::string_view text) {
  const auto read = calendar::readDateText(text, calendar::kPlatformDate);
  if (!read || !isValidCalendarDate(read->date.year, read->date.month, read->date.day)) {
    return std::nullopt;
  }
  return toSerial(
      {read->date.year, read->date.month, read->date.day, read->hour, read->minute, read->second});
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
  const std::int64_t days = calendar::dayNumber(y, static_cast<int>(m), day);
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
