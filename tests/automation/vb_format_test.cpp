#include <gtest/gtest.h>

#include "automation/vb_format.h"
#include "test_support.h"

namespace quillon::automation {
namespace {

TEST(Format, RoundsTheWrittenDecimalHalfAwayFromZero) {
  EXPECT_EQ(Format(2.675, "##0.00"), "2.68");
  EXPECT_EQ(Format(1.005, "0.00"), "1.01");
  EXPECT_EQ(Format(0.125, "0.00"), "0.13");
  EXPECT_EQ(Format(-2.675, "##0.00"), "-2.68");
  EXPECT_EQ(Format(2.5, "0"), "3");
  EXPECT_EQ(Format(-2.5, "0"), "-3");
  EXPECT_EQ(Format(9.9999, "0.000"), "10.000");
  EXPECT_EQ(Format(999.5, "#,##0"), "1,000");
}

TEST(Format, QuantityPatternsOfTheDecimalPlacesFamily) {
  EXPECT_EQ(Format(5, "##0."), "5.");
  EXPECT_EQ(Format(5.4, "##0."), "5.");
  EXPECT_EQ(Format(0, "##0.00"), "0.00");
  EXPECT_EQ(Format(0.5, "##0.00"), "0.50");
  EXPECT_EQ(Format(12.3456, "##0.0000"), "12.3456");
  EXPECT_EQ(Format(12.3456, "##0.000000"), "12.345600");
  EXPECT_EQ(Format(1234567.891, "##0.00"), "1234567.89");
  EXPECT_EQ(Format(3, "0.000"), "3.000");
  EXPECT_EQ(Format(3.14159, "0"), "3");
  EXPECT_EQ(Format(0, "0"), "0");
}

TEST(Format, ThousandsSeparatorsAndLargeValues) {
  EXPECT_EQ(Format(1234567.891, "#,##0.00"), "1,234,567.89");
  EXPECT_EQ(Format(-1234567.891, "#,##0.00"), "-1,234,567.89");
  EXPECT_EQ(Format(999, "#,##0"), "999");
  EXPECT_EQ(Format(1000, "#,##0"), "1,000");
  EXPECT_EQ(Format(0, "#,##0"), "0");
  EXPECT_EQ(Format(1e20, "#,##0"), "100,000,000,000,000,000,000");
  EXPECT_EQ(Format(123456789012.5, "0.0"), "123456789012.5");
  EXPECT_EQ(Format(1234567, "#,##0,"), "1,235");  // a trailing comma scales by 1000
}

TEST(Format, NegativeZeroSectionsAndLiterals) {
  EXPECT_EQ(Format(-0.001, "0.00"), "0.00");  // rounds to zero: no sign
  EXPECT_EQ(Format(-5, "0.00;(0.00)"), "(5.00)");
  EXPECT_EQ(Format(0, "0.00;(0.00);\"zero\""), "zero");
  EXPECT_EQ(Format(0.256, "0.0%"), "25.6%");
  EXPECT_EQ(Format(0.5, "#.##"), ".5");
  EXPECT_EQ(Format(1.5, "0.0#"), "1.5");
  EXPECT_EQ(Format(1.567, "0.0#"), "1.57");
  EXPECT_EQ(Format(42, "\"No.\"000"), "No.042");
  EXPECT_EQ(Format(12, "000-0000"), "000-0012");
  EXPECT_EQ(Format(5, "0.00 元"), "5.00 元");
}

TEST(Format, ValueKinds) {
  EXPECT_EQ(Format(Variant::null(), "0.00"), "");
  EXPECT_EQ(Format(Variant(), "0.00"), "");
  EXPECT_EQ(Format("12.5", "0.00"), "12.50");
  EXPECT_EQ(Format("abc", "0.00"), "abc");
  EXPECT_EQ(Format(true, "0"), "-1");
  EXPECT_EQ(Format(2.5), "2.5");
}

TEST(Format, DatePatterns) {
  const Variant d(DateValue{46361.75});  // 2026-12-05 18:00:00
  EXPECT_EQ(Format(d, "YYYY-MM-DD"), "2026-12-05");
  EXPECT_EQ(Format(d, "yyyy-mm-dd"), "2026-12-05");
  EXPECT_EQ(Format(d, "yyyy-mm-dd hh:mm:ss"), "2026-12-05 18:00:00");
  EXPECT_EQ(Format(d, "yy/m/d"), "26/12/5");
  EXPECT_EQ(Format("2026-1-5", "YYYY-MM-DD"), "2026-01-05");
  EXPECT_EQ(Format("not a date", "YYYY-MM-DD"), "not a date");
}

}  // namespace
}  // namespace quillon::automation
