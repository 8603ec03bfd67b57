#include <gtest/gtest.h>

#include "automation/vb_dates.h"
#include "automation/vb_runtime.h"
#include "test_support.h"

namespace quillon::automation {
namespace {

TEST(Dates, SerialsRoundTripAcrossTheEpoch) {
  EXPECT_EQ(toSerial({1899, 12, 30}).serial, 0.0);
  EXPECT_EQ(toSerial({1900, 1, 1}).serial, 2.0);
  EXPECT_EQ(toSerial({2026, 12, 5, 6, 0, 0}).serial, 46361.25);
  // Before the epoch the day counts down while the time still counts up.
  EXPECT_EQ(toSerial({1899, 12, 29, 6, 0, 0}).serial, -1.25);
  EXPECT_EQ(fromSerial(DateValue{-1.25}), (DateParts{1899, 12, 29, 6, 0, 0}));
  for (DateParts p : {DateParts{100, 1, 1}, DateParts{2000, 2, 29, 23, 59, 59},
                      DateParts{9999, 12, 31, 12, 30, 1}, DateParts{1600, 3, 1, 0, 0, 1}}) {
    EXPECT_EQ(fromSerial(toSerial(p)), p);
  }
  EXPECT_COM_ERROR(toSerial({2026, 2, 29}), err::kInvalidProcedureCall);
}

TEST(Dates, ParseAcceptsOnlyRealDays) {
  EXPECT_EQ(formatDateText(*parseDateText("2026-12-05")), "2026-12-05");
  EXPECT_EQ(formatDateText(*parseDateText(" 2026/1/5 "), true), "2026-01-05 00:00:00");
  EXPECT_EQ(formatDateText(*parseDateText("2026-12-05 7:08"), true), "2026-12-05 07:08:00");
  EXPECT_EQ(formatDateAuto(*parseDateText("2026-12-05 23:59:59")), "2026-12-05 23:59:59");
  EXPECT_TRUE(parseDateText("2024-02-29"));
  for (const char* bad :
       {"2026-13-01", "2026-02-30", "2023-02-29", "2026-00-10", "2026-12-32", "26-12-05", "2026-12",
        "2026-12-05x", "2026-12/05", "2026-12-05 24:00", "2026-12-05 10:60", "", "   "}) {
    EXPECT_FALSE(parseDateText(bad)) << bad;
  }
}

TEST(Dates, DateSerialRollsOver) {
  EXPECT_EQ(formatDateText(DateSerial(2026, 13, 1)), "2027-01-01");
  EXPECT_EQ(formatDateText(DateSerial(2026, 3, 0)), "2026-02-28");
  EXPECT_EQ(formatDateText(DateSerial(2026, 1, -1)), "2025-12-30");
  EXPECT_EQ(formatDateText(DateSerial(2026, 0, 15)), "2025-12-15");
  EXPECT_EQ(formatDateText(DateSerial(26, 6, 1)), "2026-06-01");
  EXPECT_EQ(formatDateText(DateSerial(99, 6, 1)), "1999-06-01");
  EXPECT_COM_ERROR(DateSerial(10000, 1, 1), err::kInvalidProcedureCall);
}

TEST(Dates, ClockGivesTodayWithoutTime) {
  DateValue today = Date();
  DateValue now = Now();
  EXPECT_EQ(today.serial, static_cast<double>(static_cast<long long>(today.serial)));
  EXPECT_GE(now.serial, today.serial);
  EXPECT_LT(now.serial, today.serial + 2.0);  // a midnight may pass between the two reads
}

TEST(Dates, IsDateAndIsNumeric) {
  EXPECT_TRUE(IsDate("2026-12-05"));
  EXPECT_TRUE(IsDate("2026-12-05 10:30:00"));
  EXPECT_TRUE(IsDate(Variant(DateValue{1.0})));
  EXPECT_FALSE(IsDate("2026-13-05"));
  EXPECT_FALSE(IsDate("2026-02-30"));
  EXPECT_FALSE(IsDate(46361));
  EXPECT_FALSE(IsDate(Variant::null()));

  EXPECT_TRUE(IsNumeric(12));
  EXPECT_TRUE(IsNumeric("1,234.50"));
  EXPECT_TRUE(IsNumeric(" -3 "));
  EXPECT_TRUE(IsNumeric(".5"));
  EXPECT_TRUE(IsNumeric("1E3"));
  EXPECT_TRUE(IsNumeric(Variant()));
  EXPECT_TRUE(IsNumeric(true));
  EXPECT_FALSE(IsNumeric(""));
  EXPECT_FALSE(IsNumeric("1.2.3"));
  EXPECT_FALSE(IsNumeric("12a"));
  EXPECT_FALSE(IsNumeric("-"));
  EXPECT_FALSE(IsNumeric("1E"));
  EXPECT_FALSE(IsNumeric("一"));
  EXPECT_FALSE(IsNumeric(Variant::null()));
  EXPECT_FALSE(IsNumeric(Variant(DateValue{1.0})));
}

}  // namespace
}  // namespace quillon::automation
