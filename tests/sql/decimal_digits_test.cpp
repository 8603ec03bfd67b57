// The embedded engine's ROUND and decimal conversion of reals: the integer arithmetic gives the
// same bits as writing the value's 15 significant digits out and reading them back, over values
// of every size, the halfway decimals that rounding turns on, and every number of places.
#include "sql/sqlite/decimal_digits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace quillon::sql {
namespace {

std::uint64_t bitsOf(double d) {
  std::uint64_t b = 0;
  std::memcpy(&b, &d, sizeof b);
  return b;
}

// Values where rounding is decided: decimals of two to four places and their differences (what
// quantities and their subtractions give), halves of a last place, runs of nines, powers of ten
// and their neighbours, the smallest and largest doubles.
std::vector<double> edgeValues() {
  std::vector<double> v{0.005,
                        0.015,
                        0.025,
                        1.005,
                        2.675,
                        1.45,
                        0.285,
                        999.995,
                        9.995,
                        99.5,
                        0.5,
                        1.5,
                        2.5,
                        -0.5,
                        -2.675,
                        81.85 - 18.85,
                        0.1 + 0.2,
                        1e-300,
                        4.9e-324,
                        1.7976931348623157e308,
                        123456789012345.6,
                        999999999999999.9,
                        99999999999999.95,
                        0.000123456789012345,
                        5e-15,
                        4.9999999999999996e-3};
  for (int p = -30; p <= 30; ++p) {
    const double ten = std::pow(10.0, p);
    v.push_back(ten);
    v.push_back(std::nextafter(ten, 0.0));
    v.push_back(std::nextafter(ten, 1e308));
    v.push_back(9.99999999999999 * ten);
    v.push_back(5 * ten);
  }
  return v;
}

TEST(DecimalDigits, RoundingAgreesWithTheWrittenDigits) {
  std::mt19937_64 random(20261208);
  std::vector<double> values = edgeValues();
  // Quantities as the account holds them and their differences, of every size.
  std::uniform_int_distribution<std::int64_t> cents(-10000000, 10000000);
  std::uniform_int_distribution<int> places(0, 6);
  for (int i = 0; i < 20000; ++i) {
    const double a = static_cast<double>(cents(random)) / std::pow(10.0, places(random));
    const double b = static_cast<double>(cents(random)) / std::pow(10.0, places(random));
    values.push_back(a - b);
    values.push_back(a * b);
  }
  // Arbitrary bit patterns: every exponent, subnormals included.
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t b = random();
    double d = 0;
    std::memcpy(&d, &b, sizeof d);
    if (std::isfinite(d)) values.push_back(d);
  }
  for (double d : values) {
    for (std::int64_t n :
         {-20, -16, -3, -1, 0, 1, 2, 3, 4, 6, 10, 14, 15, 20, 22, 23, 30, 330, -400, 401}) {
      ASSERT_EQ(bitsOf(roundFifteenDigits(d, n)), bitsOf(roundFifteenDigitsByText(d, n)))
          << "round(" << d << ", " << n << ")";
    }
    ASSERT_EQ(bitsOf(fifteenDigitDecimal(d)), bitsOf(fifteenDigitDecimalByText(d))) << d;
  }
}

TEST(DecimalDigits, RoundsHalfAwayFromZeroOnTheDecimalWritten) {
  // 2.675 is 2.67499999999999982236431605997495353221893310546875 in binary: its 15 digits read
  // 2.67500000000000, which rounds up.
  EXPECT_EQ(roundFifteenDigits(2.675, 2), 2.68);
  EXPECT_EQ(roundFifteenDigits(-2.675, 2), -2.68);
  EXPECT_EQ(roundFifteenDigits(81.85 - 18.85, 0), 63.0);
  EXPECT_EQ(roundFifteenDigits(999.995, 2), 1000.0);
  EXPECT_EQ(roundFifteenDigits(0.004999, 2), 0.0);
  EXPECT_TRUE(std::signbit(roundFifteenDigits(-0.004, 2)));
  EXPECT_EQ(roundFifteenDigits(1234.5, -2), 1200.0);
  EXPECT_EQ(roundFifteenDigits(1250.0, -2), 1300.0);
  EXPECT_EQ(roundFifteenDigits(0.1 + 0.2, 15), 0.1 + 0.2);  // no digit beyond the fifteenth
  EXPECT_EQ(fifteenDigitDecimal(81.85 - 18.85), 63.0);
  EXPECT_TRUE(std::isnan(roundFifteenDigits(std::nan(""), 2)));
  EXPECT_EQ(roundFifteenDigits(std::numeric_limits<double>::infinity(), 2),
            std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace quillon::sql
