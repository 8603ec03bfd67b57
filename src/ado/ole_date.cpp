#include "ado/ole_date.h"

#include <cmath>
#include <cstdio>

namespace quillon::ado {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

constexpr long long kOleEpochFromUnix = -25569;  // 1899-12-30 relative to 1970-01-01

struct Civil {
  long long year;
  unsigned month;
  unsigned day;
};

Civil civilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<long long>(yoe) + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

bool isLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

class Reader {
 public:
  explicit Reader(std::string_view s) : s_(s) {}
  bool digits(int count, int& out) {
    out = 0;
    for (int i = 0; i < count; ++i) {
      if (pos_ >= s_.size() || s_[pos_] < '0' || s_[pos_] > '9') return false;
      out = out * 10 + (s_[pos_++] - '0');
    }
    return true;
  }
  bool accept(char c) {
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  char peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
  bool done() const { return pos_ == s_.size(); }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
};

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

double serialFromCivil(int year, int month, int day) {
  return static_cast<double>(
      daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
      kOleEpochFromUnix);
}

std::string formatDateSerial(double serial) {
  if (!std::isfinite(serial)) return {};
  const double day = std::trunc(serial);
  double fraction = std::fabs(serial - day);
  auto seconds = static_cast<long long>(std::llround(fraction * 86400.0));
  long long days = static_cast<long long>(day);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += serial >= 0 ? 1 : -1;
  }
  const Civil c = civilFromDays(days + kOleEpochFromUnix);
  const int year = static_cast<int>(c.year);
  const int h = static_cast<int>(seconds / 3600), mi = static_cast<int>(seconds / 60 % 60),
            se = static_cast<int>(seconds % 60);
  char buf[96];
  if (seconds == 0)
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", year, c.month, c.day);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d:%02d", year, c.month, c.day, h, mi,
                  se);
  return buf;
}

bool parseDateText(std::string_view text, double& serial) {
  Reader r(trim(text));
  int y = 0, m = 0, d = 0;
  if (!r.digits(4, y)) return false;
  const char sep = r.peek();
  if (sep != '-' && sep != '/') return false;
  r.accept(sep);
  if (!r.digits(2, m) || !r.accept(sep) || !r.digits(2, d)) return false;
  if (m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m)) return false;
  double fraction = 0.0;
  if (!r.done()) {
    if (!r.accept(' ') && !r.accept('T')) return false;
    int hh = 0, mm = 0, ss = 0;
    if (!r.digits(2, hh) || !r.accept(':') || !r.digits(2, mm)) return false;
    double millis = 0.0;
    if (r.accept(':')) {
      if (!r.digits(2, ss)) return false;
      if (r.accept('.')) {
        double scale = 100.0;
        bool any = false;
        while (r.peek() >= '0' && r.peek() <= '9') {
          int digit = 0;
          r.digits(1, digit);
          millis += digit * scale;
          scale /= 10.0;
          any = true;
        }
        if (!any) return false;
      }
    }
    if (!r.done() || hh > 23 || mm > 59 || ss > 59) return false;
    fraction = (hh * 3600.0 + mm * 60.0 + ss + millis / 1000.0) / 86400.0;
  }
  const double days = serialFromCivil(y, m, d);
  // OLE dates before the epoch keep the time as a positive fraction beyond the day.
  serial = days >= 0 ? days + fraction : days - fraction;
  return true;
}

}  // namespace quillon::ado
