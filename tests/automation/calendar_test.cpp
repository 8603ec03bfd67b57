#include <gtest/gtest.h>

#include "automation/calendar.h"

namespace quillon::automation::calendar {
namespace {

TEST(Calendar, DayNumbersCountFromThePlatformsEpoch) {
  EXPECT_EQ(dayNumber(1899, 12, 30), 0);
  EXPECT_EQ(dayNumber(1900, 1, 1), 2);
  EXPECT_EQ(dayNumber(1970, 1, 1), 25569);
  EXPECT_EQ(dayNumber(1899, 12, 29), -1);
  // Days outside the month count on from its first.
  EXPECT_EQ(dayNumber(2026, 3, 0), dayNumber(2026, 2, 28));
  EXPECT_EQ(dayNumber(2024, 2, 30), dayNumber(2024, 3, 1));
  for (std::int64_t n = -657434; n < 2958466; n += 997) {
    const CivilDate c = civilDate(n);
    ASSERT_TRUE(isCalendarDay(c.year, c.month, c.day)) << n;
    ASSERT_EQ(dayNumber(c.year, c.month, c.day), n);
  }
  EXPECT_TRUE(isLeapYear(2000));
  EXPECT_FALSE(isLeapYear(1900));
  EXPECT_EQ(daysInMonth(2024, 2), 29);
  EXPECT_FALSE(isCalendarDay(2026, 13, 1));
}

TEST(Calendar, OneReaderWithTheFormsEachCallerAccepts) {
  EXPECT_EQ(readDateText("2026-02-28", kIsoDay)->date, (CivilDate{2026, 2, 28}));
  for (const char* bad : {"2026-2-28", " 2026-02-28", "2026/02/28", "2026-02-28 10:00",
                          "2026-02-29", "2026-13-01", "26-02-28", "2026-02-2x", ""}) {
    EXPECT_FALSE(readDateText(bad, kIsoDay)) << bad;
  }

  const DateTextRules& lenient = kPlatformDate;
  const auto read = readDateText(" 2026/1/5   7:08 ", lenient);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->date, (CivilDate{2026, 1, 5}));
  EXPECT_TRUE(read->hasTime);
  EXPECT_EQ(read->hour * 100 + read->minute, 708);
  EXPECT_FALSE(readDateText("2026/1-5", lenient));  // one separator throughout
  EXPECT_FALSE(readDateText("2026-01-05T07:08", lenient));

  const DateTextRules& stored = kStoredDate;
  const auto exact = readDateText("2026-01-05T07:08:09.25\t", stored);
  ASSERT_TRUE(exact);
  EXPECT_EQ(exact->second, 9);
  EXPECT_DOUBLE_EQ(exact->milliseconds, 250);
  EXPECT_FALSE(readDateText("2026-01-05 07:08:09.", stored));
  EXPECT_FALSE(readDateText("2026-01-05  07:08", stored));  // exactly one blank
  EXPECT_FALSE(readDateText("2026-01-05 24:00", stored));

  const DateTextRules& secondsRequired = kIsoDayOrSecond;
  EXPECT_TRUE(readDateText("2026-01-05 07:08:09", secondsRequired));
  EXPECT_FALSE(readDateText("2026-01-05 07:08", secondsRequired));

  // The engine's reading: dots, the compact form and one-digit minutes besides.
  DateTextRules engine = kStoredDate;
  engine.dots = engine.compact = engine.shortTime = engine.shortFields = true;
  EXPECT_EQ(readDateText("2026.1.5", engine)->date, (CivilDate{2026, 1, 5}));
  const auto compact = readDateText("20260105 7:8:9", engine);
  ASSERT_TRUE(compact);
  EXPECT_EQ(compact->date, (CivilDate{2026, 1, 5}));
  EXPECT_EQ(compact->hour * 10000 + compact->minute * 100 + compact->second, 70809);
  for (const char* bad : {"2026.01-05", "202601051", "2026010", "20261305", "2026.02.30"}) {
    EXPECT_FALSE(readDateText(bad, engine)) << bad;
  }
  EXPECT_FALSE(readDateText("2026.01.05", kStoredDate));
  EXPECT_FALSE(readDateText("20260105", kStoredDate));
}

}  // namespace
}  // namespace quillon::automation::calendar
