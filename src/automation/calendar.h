// The calendar every layer counts days with: the proleptic Gregorian calendar, day numbers as the
// platform's date serials count them (day 0 is 1899-12-30), and the one reader of date texts
// "YYYY-MM-DD" with an optional time of day. Callers that accept fewer forms say so through the
// rules they pass; the reader never accepts a day that does not exist (2026-02-30, month 13).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon::automation::calendar {

struct CivilDate {
  int year = 1899;
  int month = 12;
  int day = 30;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

bool isLeapYear(int year);
// Days in a month (1..12) of a year.
int daysInMonth(int year, int month);
// True when month and day exist in the year (any year; callers check their own range).
bool isCalendarDay(int year, int month, int day);

// Day number of a date, 0 for 1899-12-30, negative before. The month is 1..12; a day outside the
// month is counted on from its first (day 0 is the last day of the month before).
std::int64_t dayNumber(std::int64_t year, int month, int day);
CivilDate civilDate(std::int64_t dayNumber);

// What a date text may look like. Every text is year-month-day with a four-digit year.
struct DateTextRules {
  std::string_view trim;     // characters ignored around the text
  bool slashes = false;      // "YYYY/MM/DD" as well (one separator throughout)
  bool shortFields = false;  // one-digit month, day and hour
  bool time = false;         // a time of day may follow: "hh:mm", "hh:mm:ss"
  bool manyBlanks = false;   // before the time, blanks (one at least) instead of exactly one
  bool tBeforeTime = false;  // "T" instead of the blank before the time
  bool minutesOnly = true;   // "hh:mm" without seconds
  bool fractions = false;    // seconds with a fraction ".fff"
  bool dots = false;         // "YYYY.MM.DD" as well
  bool compact = false;      // "YYYYMMDD" as well
  bool shortTime = false;    // one-digit minutes and seconds as well
};

// The forms the library reads, each where it reads them:
// "YYYY-MM-DD" exactly, nothing around it (date fields, scripts, the calendar's answers).
inline constexpr DateTextRules kIsoDay{};
// "YYYY-MM-DD" or "YYYY-MM-DD hh:mm:ss" exactly (the pinned clock).
inline constexpr DateTextRules kIsoDayOrSecond{"", false, false, true, false, false, false, false};
// The platform's date texts (IsDate, CDate): "YYYY-MM-DD" or "YYYY/M/D", blanks around and
// before an optional "h:mm" or "h:mm:ss".
inline constexpr DateTextRules kPlatformDate{" ", true, true, true, true, false, true, false};
// Dates as the engine stores them: "YYYY-MM-DD" or "YYYY/MM/DD", then " " or "T" and "hh:mm",
// "hh:mm:ss" or "hh:mm:ss.fff"; blanks and tabs around.
inline constexpr DateTextRules kStoredDate{" \t", true, false, true, false, true, true, true};

struct DateTimeText {
  CivilDate date;
  int hour = 0;
  int minute = 0;
  int second = 0;
  double milliseconds = 0;  // the fraction of the second
  bool hasTime = false;
};

// Reads a date text by `rules`; nothing when it does not follow them or names no real day or
// time.
std::optional<DateTimeText> readDateText(std::string_view text, const DateTextRules& rules);

}  // namespace quillon::automation::calendar
