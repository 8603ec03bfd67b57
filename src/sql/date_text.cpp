#include "sql/date_text.h"

#include <cstdio>
#include <string>

namespace quillon::sql {

namespace {

bool digits(std::string_view s, std::size_t at, std::size_t n, int& out) {
  if (at + n > s.size()) return false;
  int v = 0;
  for (std::size_t i = at; i < at + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  out = v;
  return true;
}

int daysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

}  // namespace

std::optional<DateTimeParts> parseDateTime(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  DateTimeParts d;
  std::size_t pos = 0;
  if (!digits(s, 0, 4, d.year)) return std::nullopt;
  if (s.size() > 4 && (s[4] == '-' || s[4] == '/' || s[4] == '.')) {
    const char sep = s[4];
    // Month and day may have one or two digits.
    std::size_t p = 5;
    int m = 0;
    std::size_t n = 0;
    while (p < s.size() && s[p] >= '0' && s[p] <= '9' && n < 2) m = m * 10 + (s[p++] - '0'), ++n;
    if (n == 0 || p >= s.size() || s[p] != sep) return std::nullopt;
    ++p;
    int dd = 0;
    n = 0;
    while (p < s.size() && s[p] >= '0' && s[p] <= '9' && n < 2) dd = dd * 10 + (s[p++] - '0'), ++n;
    if (n == 0) return std::nullopt;
    d.month = m;
    d.day = dd;
    pos = p;
  } else {
    if (!digits(s, 4, 2, d.month) || !digits(s, 6, 2, d.day)) return std::nullopt;
    pos = 8;
  }
  if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 ||
      d.day > daysInMonth(d.year, d.month))
    return std::nullopt;
  if (pos == s.size()) return d;
  if (s[pos] != ' ' && s[pos] != 'T') return std::nullopt;
  while (pos < s.size() && (s[pos] == ' ' || s[pos] == 'T')) ++pos;
  std::size_t p = pos;
  const auto number = [&](int& out) {
    std::size_t n = 0;
    int v = 0;
    while (p < s.size() && s[p] >= '0' && s[p] <= '9' && n < 2) v = v * 10 + (s[p++] - '0'), ++n;
    out = v;
    return n > 0;
  };
  if (!number(d.hour) || p >= s.size() || s[p] != ':') return std::nullopt;
  ++p;
  if (!number(d.minute)) return std::nullopt;
  if (p < s.size() && s[p] == ':') {
    ++p;
    if (!number(d.second)) return std::nullopt;
    if (p < s.size() && s[p] == '.') {
      ++p;
      int ms = 0;
      int scale = 100;
      std::size_t n = 0;
      while (p < s.size() && s[p] >= '0' && s[p] <= '9') {
        if (n < 3) ms += (s[p] - '0') * scale;
        scale /= 10;
        ++p;
        ++n;
      }
      if (n == 0) return std::nullopt;
      d.millisecond = ms;
    }
  }
  if (p != s.size()) return std::nullopt;
  if (d.hour > 23 || d.minute > 59 || d.second > 59) return std::nullopt;
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

// Howard Hinnant's days-from-civil algorithm.
std::int64_t daysFromCivil(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace quillon::sql
