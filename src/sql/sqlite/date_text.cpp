#include "sql/sqlite/date_text.h"

#include <cstdio>
#include <string>

#include "automation/calendar.h"

namespace quillon::sql {

namespace {

namespace calendar = automation::calendar;

// What the engine reads as a date: "YYYY-MM-DD", "YYYY/MM/DD", "YYYY.MM.DD" (one- or two-digit
// month and day) or "YYYYMMDD", blanks around, then optionally a blank or "T" and
// "h:m[:s[.fff…]]".
constexpr calendar::DateTextRules kEngineDate{" ",  true, true, true, true, true,
                                              true, true, true, true, true};

}  // namespace

std::optional<DateTimeParts> parseDateTime(std::string_view s) {
  const auto text = calendar::readDateText(s, kEngineDate);
  if (!text || text->date.year < 1) return std::nullopt;
  DateTimeParts d;
  d.year = text->date.year;
  d.month = text->date.month;
  d.day = text->date.day;
  d.hour = text->hour;
  d.minute = text->minute;
  d.second = text->second;
  d.millisecond = static_cast<int>(text->milliseconds);
  return d;
}

std::optional<DateTimeParts> parseTime(std::string_view s) {
  // A date and time: its time of day. Otherwise the time alone, read as the time of a date.
  if (auto d = parseDateTime(s)) return d;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  if (s.empty() || s.front() < '0' || s.front() > '9') return std::nullopt;
  std::string withDate = "1900-01-01 ";
  withDate += s;
  return parseDateTime(withDate);
}

std::string formatTime(const DateTimeParts& d) {
  char buf[20];
  if (d.millisecond != 0) {
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", d.hour, d.minute, d.second,
                  d.millisecond);
  } else {
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", d.hour, d.minute, d.second);
  }
  return buf;
}

std::string formatDateTime(const DateTimeParts& d) {
  char buf[40];
  if (d.millisecond != 0) {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year, d.month, d.day,
                  d.hour, d.minute, d.second, d.millisecond);
  } else {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                  d.minute, d.second);
  }
  return buf;
}

}  // namespace quillon::sql
