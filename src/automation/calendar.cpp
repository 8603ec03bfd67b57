#include "automation/calendar.h"

namespace quillon::automation::calendar {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromUnixEpoch(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t kSerialEpoch = -25569;  // 1899-12-30 from 1970-01-01

class TextReader {
 public:
  explicit TextReader(std::string_view s) : s_(s) {}
  // Between `least` and `most` decimal digits.
  bool number(int least, int most, int& out) {
    int count = 0;
    int value = 0;
    while (count < most && pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
      value = value * 10 + (s_[pos_++] - '0');
      ++count;
    }
    out = value;
    return count >= least;
  }
  bool accept(char c) {
    if (pos_ >= s_.size() || s_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  char peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
  bool done() const { return pos_ == s_.size(); }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
};

std::string_view trimmed(std::string_view s, std::string_view chars) {
  if (chars.empty()) return s;
  const std::size_t first = s.find_first_not_of(chars);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(chars) - first + 1);
}

bool readTime(TextReader& r, const DateTextRules& rules, DateTimeText& out) {
  const bool blank = r.accept(' ');
  if (blank && rules.manyBlanks) {
    while (r.accept(' ')) {
    }
  }
  if (!blank && !(rules.tBeforeTime && r.accept('T'))) return false;
  const int leastMinute = rules.shortTime ? 1 : 2;
  if (!r.number(rules.shortFields ? 1 : 2, 2, out.hour) || !r.accept(':') ||
      !r.number(leastMinute, 2, out.minute)) {
    return false;
  }
  if (r.accept(':')) {
    if (!r.number(leastMinute, 2, out.second)) return false;
    if (rules.fractions && r.accept('.')) {
      double scale = 100.0;
      bool any = false;
      while (r.peek() >= '0' && r.peek() <= '9') {
        out.milliseconds += (r.peek() - '0') * scale;
        scale /= 10.0;
        r.accept(r.peek());
        any = true;
      }
      if (!any) return false;
    }
  } else if (!rules.minutesOnly) {
    return false;
  }
  out.hasTime = true;
  return out.hour <= 23 && out.minute <= 59 && out.second <= 59;
}

}  // namespace

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isCalendarDay(int year, int month, int day) {
  return month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

std::int64_t dayNumber(std::int64_t year, int month, int day) {
  return daysFromUnixEpoch(year, static_cast<unsigned>(month), 1) + (day - 1) - kSerialEpoch;
}

CivilDate civilDate(std::int64_t dayNumber) {
  std::int64_t z = dayNumber + kSerialEpoch + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  CivilDate c;
  c.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  c.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (c.month <= 2 ? 1 : 0));
  return c;
}

std::optional<DateTimeText> readDateText(std::string_view text, const DateTextRules& rules) {
  TextReader r(trimmed(text, rules.trim));
  DateTimeText out;
  const int least = rules.shortFields ? 1 : 2;
  if (!r.number(4, 4, out.date.year)) return std::nullopt;
  const char separator = r.peek();
  if (rules.compact && separator >= '0' && separator <= '9') {
    if (!r.number(2, 2, out.date.month) || !r.number(2, 2, out.date.day)) return std::nullopt;
  } else {
    if (separator != '-' && !(rules.slashes && separator == '/') &&
        !(rules.dots && separator == '.')) {
      return std::nullopt;
    }
    r.accept(separator);
    if (!r.number(least, 2, out.date.month) || !r.accept(separator) ||
        !r.number(least, 2, out.date.day)) {
      return std::nullopt;
    }
  }
  if (!r.done() && !(rules.time && readTime(r, rules, out))) return std::nullopt;
  if (!r.done() || !isCalendarDay(out.date.year, out.date.month, out.date.day)) {
    return std::nullopt;
  }
  return out;
}

}  // namespace quillon::automation::calendar
