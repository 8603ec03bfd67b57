#include "ado/ole_date.h"

#include <cmath>
#include <cstdio>

#include "automation/calendar.h"

namespace quillon::ado {

double serialFromCivil(int year, int month, int day) {
  return static_cast<double>(automation::calendar::dayNumber(year, month, day));
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
  const automation::calendar::CivilDate c = automation::calendar::civilDate(days);
  const int year = c.year;
  const int h = static_cast<int>(seconds / 3600), mi = static_cast<int>(seconds / 60 % 60),
            se = static_cast<int>(seconds % 60);
  char buf[96];
  if (seconds == 0)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, c.month, c.day);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", year, c.month, c.day, h, mi,
                  se);
  return buf;
}

bool parseDateText(std::string_view text, double& serial) {
  const auto read = automation::calendar::readDateText(text, automation::calendar::kStoredDate);
  if (!read) return false;
  const double fraction =
      (read->hour * 3600.0 + read->minute * 60.0 + read->second + read->milliseconds / 1000.0) /
      86400.0;
  const double days = serialFromCivil(read->date.year, read->date.month, read->date.day);
  // OLE dates before the epoch keep the time as a positive fraction beyond the day.
  serial = days >= 0 ? days + fraction : days - fraction;
  return true;
}

}  // namespace quillon::ado
