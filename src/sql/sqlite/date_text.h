// Dates as the embedded engine keeps them: ISO text "YYYY-MM-DD hh:mm:ss".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::sql {

struct DateTimeParts {
  int year = 1900, month = 1, day = 1, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Reads "YYYY-MM-DD", "YYYY/MM/DD", "YYYY.MM.DD", "YYYYMMDD", each optionally followed by
// " hh:mm[:ss[.fff]]" (or "T" instead of the blank), through the runtime's calendar. Empty when
// the text is not a valid date of year 1 or later.
std::optional<DateTimeParts> parseDateTime(std::string_view text);

// Reads a time of day "h:mm[:ss[.fff]]", or the time part of a date text as parseDateTime reads
// it. Empty when the text is neither.
std::optional<DateTimeParts> parseTime(std::string_view text);

// "hh:mm:ss", with ".fff" when there are milliseconds.
std::string formatTime(const DateTimeParts& d);

// "YYYY-MM-DD hh:mm:ss", with ".fff" when there are milliseconds.
std::string formatDateTime(const DateTimeParts& d);

}  // namespace quillon::sql
