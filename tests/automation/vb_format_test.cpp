#include <gtest/gtest.h>

#include "automation/vb_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include "automation/shown_rounding.h"
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
  // More zeros than any number has digits: every one is shown, grouped.
  std::string wide = "#,";
  wide.append(100, '0');
  const std::string text = Format(234.5, wide + ".000");
  EXPECT_EQ(text.size(), 100u + 33u + 4u);
  EXPECT_EQ(text.substr(text.size() - 11), "000,234.500");
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

// The value worked out without the text must be exactly what the text reads back as, for values
// the pattern shows in full, values it rounds (half away, on the written decimal) and values that
// round to zero, in every pattern of the digits-only family; other patterns are left to the text.
TEST(Format, FormattedNumberValueIsWhatTheTextReadsAs) {
  const auto readBack = [](const std::string& text) {
    std::string plain;
    for (char c : text) {
      if (c != ',') plain.push_back(c);
    }
    double v = 0;
    std::from_chars(plain.data(), plain.data() + plain.size(), v);
    return v;
  };
  const char* const patterns[] = {"##0.00", "#,##0.000", "0", "0.######", "##0.0000", "#,##0"};
  std::uint64_t x = 12345;
  for (int i = 0; i < 5000; ++i) {
    x = x * 6364136223846793005ull + 1442695040888963407ull;
    const int decimals = static_cast<int>((x >> 60) % 8);
    double value = static_cast<double>(static_cast<std::int64_t>(x >> 20) % 20000000) / 100.0;
    for (int d = 0; d < decimals; ++d) value /= 10;
    if ((x & 1) != 0) value = -value;
    // Quotients with no short decimal too (an amount over a rate), which take the rounding path.
    const double quotient = value / static_cast<double>(3 + (x >> 8) % 97);
    for (const double each : {value, quotient}) {
      for (const char* p : patterns) {
        const std::optional<double> v = formattedNumberValue(each, p);
        ASSERT_TRUE(v.has_value()) << p;
        ASSERT_EQ(*v, readBack(formatNumber(each, p))) << each << " " << p;
        ASSERT_FALSE(std::signbit(*v) && *v == 0) << each << " " << p;
      }
    }
  }
  EXPECT_EQ(formattedNumberValue(2.675, "##0.00"), 2.68);
  EXPECT_EQ(formattedNumberValue(-0.004, "##0.00"), 0.0);
  EXPECT_EQ(formattedNumberValue(1e20, "#,##0"), 1e20);
  EXPECT_EQ(formattedNumberValue(0.5, "#.##"), 0.5);
  EXPECT_FALSE(formattedNumberValue(0, "#"));
  EXPECT_FALSE(formattedNumberValue(0.001, "#.##"));
  EXPECT_EQ(formattedNumberValue(0.001, "#.#0"), 0.0);
  EXPECT_FALSE(formattedNumberValue(5, "0.00 元"));
  EXPECT_FALSE(formattedNumberValue(0.5, "0%"));
  EXPECT_FALSE(formattedNumberValue(1500, "#,##0,"));
  EXPECT_FALSE(formattedNumberValue(-1, "0.00;(0.00)"));
  EXPECT_FALSE(formattedNumberValue(std::numeric_limits<double>::infinity(), "0.00"));
}

// A pattern read once formats as formatNumber does with its text, whatever the pattern holds;
// the values a pattern shows in full take a shorter way to the same text.
TEST(Format, NumberFormatMatchesFormatNumber) {
  // The rounding for many values gives shownNumber's answer to the bit, its own way or not.
  const auto sameShown = [](const NumberFormat& format, double value) {
    const double expected = format.shownNumber(value);
    const double got = ShownRounding(format)(value);
    if (std::isnan(expected)) return std::isnan(got);
    return got == expected && std::signbit(got) == std::signbit(expected);
  };
  const double edges[] = {0.0,
                          -0.0,
                          0.005,
                          -2.675,
                          1e-9,
                          4503599627370495.0,
                          4503599627370497.0,
                          1e300,
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()};
  for (const char* p : {"##0.00", "#", "#.##", "0", "0.0000000000000000", "0%", "0.00;(0.00)"}) {
    const NumberFormat format(p);
    for (const double value : edges) {
      EXPECT_TRUE(sameShown(format, value)) << value << " " << p;
    }
  }
  EXPECT_EQ(Format(-1234567.5, "#,##0.00"), "-1,234,567.50");
  EXPECT_EQ(Format(0, "#,##0.##"), "0.");
  EXPECT_EQ(Format(-0.0, "0.00"), "0.00");
  EXPECT_EQ(Format(7, "000"), "007");
  EXPECT_EQ(Format(1234, "#,#00000"), "01,234");
  const char* const patterns[] = {"##0.00",  "#,##0.###", "0",           "#.##",          "0.00%",
                                  "0.00 元", "#,##0,",    "0.00;(0.00)", "0;-0;\"zero\"", ""};
  std::uint64_t x = 99;
  for (const char* p : patterns) {
    const NumberFormat format(p);
    EXPECT_EQ(format.pattern(), p);
    for (int i = 0; i < 500; ++i) {
      x = x * 6364136223846793005ull + 1442695040888963407ull;
      double value = static_cast<double>(static_cast<std::int64_t>(x >> 24) % 2000000) / 1000.0;
      if ((x & 1) != 0) value = -value;
      ASSERT_EQ(format.format(value), formatNumber(value, p)) << value << " " << p;
      const std::optional<double> shown = format.shownValue(value);
      ASSERT_EQ(shown, formattedNumberValue(value, p)) << value << " " << p;
      const double number = format.shownNumber(value);
      ASSERT_EQ(std::isnan(number), !shown.has_value()) << value << " " << p;
      if (shown) {
        ASSERT_EQ(number, *shown) << value << " " << p;
      }
      ASSERT_TRUE(sameShown(format, value)) << value << " " << p;
      ASSERT_TRUE(sameShown(format, value / 7)) << value << " " << p;
      // Empty further sections change nothing but keep the general way.
      if (format.shownValue(value)) {
        ASSERT_EQ(format.format(value), formatNumber(value, std::string(p) + ";;")) << value;
      }
    }
  }
}

}  // namespace
}  // namespace quillon::automation
