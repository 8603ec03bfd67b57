// Dates as the platform keeps them: an OLE serial (days since 1899-12-30, the fraction is the time
// of day). Texts are "YYYY-MM-DD" with an optional " hh:mm[:ss]"; the year must be 100..9999 and
// the day must exist in its month (month 13 or 30 February are not dates).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"

namespace quillon::automation {

struct DateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const DateParts&, const DateParts&) = default;
};

// True when year/month/day name a real day in the supported range.
bool isValidCalendarDate(int year, int month, int day);

// Exact conversions; toSerial raises ComError 5 for an invalid date or time.
DateValue toSerial(const DateParts& parts);
// Splits a serial (time rounded to the second); ComError 6 outside years 100..9999.
DateParts fromSerial(DateValue value);

// "YYYY-MM-DD" or "YYYY/MM/DD" (one- or two-digit month and day), optionally followed by blanks
// and "hh:mm" or "hh:mm:ss"; surrounding blanks are ignored. Nothing for anything else.
std::optional<DateValue> parseDateText(std::string_view text);

// "YYYY-MM-DD", plus " hh:mm:ss" when withTime.
std::string formatDateText(DateValue value, bool withTime = false);
// "YYYY-MM-DD", plus " hh:mm:ss" only when the value has a time of day.
std::string formatDateAuto(DateValue value);

// DateSerial(year, month, day): months and days outside their range roll over into the
// neighbouring months and years (DateSerial(2026, 13, 1) is 2027-01-01, day 0 is the last day of
// the previous month); two-digit years 0..29 mean 20xx, 30..99 mean 19xx. ComError 5 when the
// result falls outside years 100..9999.
DateValue DateSerial(int year, int month, int day);

// The local clock: Now() with the time of day, Date() the day only.
DateValue Now();
DateValue Date();

}  // namespace quillon::automation
