#include "sql/sqlite/decimal_digits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quillon::sql {

namespace {

__extension__ typedef unsigned __int128 u128;  // GCC and Clang on 64-bit targets

constexpr std::uint64_t kLowest15 = 100000000000000ULL;  // 10^14
constexpr std::uint64_t kPast15 = 1000000000000000ULL;   // 10^15

// Powers of ten a double holds exactly: a product or quotient of one of them and an integer
// below 2^53 is then the correctly rounded value of the exact decimal, as strtod gives it.
constexpr double kExactTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMostExactTen = 22;

// 5^0 .. 5^32.
constexpr auto kFives = [] {
  std::array<u128, 33> fives{};
  fives[0] = 1;
  for (std::size_t i = 1; i < fives.size(); ++i) fives[i] = fives[i - 1] * 5;
  return fives;
}();

std::uint64_t tenTo(int k) {
  std::uint64_t p = 1;
  while (k-- > 0) p *= 10;
  return p;
}

// The first 15 significant digits of a (finite, > 0) as printf's "%.14e" writes them, rounded to
// nearest: digits in [10^14, 10^15) and the power of ten of the first. a is m * 2^k exactly, so
// a * 10^s is m * 5^s * 2^(s+k), an integer product shifted: exact for s in [0, 32] (m * 5^32
// stays below 2^128). False where that does not reach, or where a falls exactly halfway between
// two 15-digit decimals (a tie, left to printf's own rule).
bool fifteenDigits(double a, std::uint64_t& digits, int& exponent) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &a, sizeof bits);
  const int biased = static_cast<int>(bits >> 52);  // a > 0: no sign bit
  if (biased == 0) return false;                    // subnormal: far below 10^-18
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int k = biased - 1075;  // a = m * 2^k, 2^52 <= m < 2^53
  // The power of ten of the first digit from the binary one (a in [2^(k+52), 2^(k+53))): low by
  // one at most, which the loop corrects.
  int e = static_cast<int>(std::floor((k + 52) * 0.30102999566398120));
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int s = 14 - e;
    if (s < 0 || s > 32) return false;
    const u128 scaled = m * kFives[s];
    const int shift = s + k;
    // a * 10^s = whole + rest / 2^right, with 10^14 <= whole < 10^15 when e is the power of ten
    // of a's first digit.
    u128 whole = 0;
    u128 rest = 0;
    u128 half = 0;
    if (shift >= 0) {
      if (shift >= 64 || (scaled >> (64 - shift)) != 0) return false;
      whole = scaled << shift;
    } else {
      const int right = -shift;
      if (right >= 127) return false;
      whole = scaled >> right;
      rest = scaled - (whole << right);
      half = u128{1} << (right - 1);
    }
    if (whole < kLowest15) {
      --e;
      continue;
    }
    if (whole >= kPast15) {
      ++e;
      continue;
    }
    if (rest != 0 && rest == half) return false;
    auto q = static_cast<std::uint64_t>(whole) + (rest > half ? 1 : 0);
    if (q == kPast15) {  // 999999999999999.5 and above: one more digit before the point
      q = kLowest15;
      ++e;
    }
    digits = q;
    exponent = e;
    return true;
  }
  return false;
}

// q * 10^p correctly rounded, where both are exact (q < 2^53, |p| <= 22). False otherwise.
bool exactScaled(std::uint64_t q, std::int64_t p, double& out) {
  if (q >= (std::uint64_t{1} << 53) || p > kMostExactTen || p < -kMostExactTen) return false;
  const auto value = static_cast<double>(q);
  out = p >= 0 ? value * kExactTens[p] : value / kExactTens[-p];
  return true;
}

}  // namespace

double roundFifteenDigitsByText(double d, std::int64_t n) {
  if (!std::isfinite(d) || d == 0.0) return d;
  n = std::clamp<std::int64_t>(n, -400, 400);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(d));  // "d.dddddddddddddde+XX"
  std::string digits;
  for (const char* c = buf; *c != 'e'; ++c) {
    if (*c != '.') digits += *c;
  }
  const int exponent = std::atoi(std::strchr(buf, 'e') + 1);  // of the first digit
  // Digits kept: those before the n-th place after the decimal point.
  const std::int64_t kept = exponent + 1 + n;
  if (kept >= static_cast<std::int64_t>(digits.size())) return d;
  double rounded = 0;
  if (kept >= 0) {
    std::string head = digits.substr(0, static_cast<std::size_t>(kept));
    int lead = exponent + 1;  // the value is 0.<head> times ten to the lead
    if (digits[static_cast<std::size_t>(kept)] >= '5') {
      std::size_t k = head.size();
      while (k > 0 && head[k - 1] == '9') head[--k] = '0';
      if (k == 0) {
        head.insert(head.begin(), '1');
        ++lead;
      } else {
        ++head[k - 1];
      }
    }
    if (!head.empty()) {
      const std::string text = "0." + head + "e" + std::to_string(lead);
      rounded = std::strtod(text.c_str(), nullptr);
    }
  }
  return d < 0 ? -rounded : rounded;
}

double roundFifteenDigits(double d, std::int64_t n) {
  if (!std::isfinite(d) || d == 0.0) return d;
  n = std::clamp<std::int64_t>(n, -400, 400);
  std::uint64_t digits = 0;
  int exponent = 0;
  if (!fifteenDigits(std::fabs(d), digits, exponent)) return roundFifteenDigitsByText(d, n);
  const std::int64_t kept = exponent + 1 + n;
  if (kept >= 15) return d;
  std::uint64_t head = 0;  // the kept digits, rounded half up on the first one dropped
  if (kept >= 0) {
    const std::uint64_t unit = tenTo(static_cast<int>(15 - kept));
    head = digits / unit + (digits % unit >= unit / 2 ? 1 : 0);
  }
  // The rounded decimal is head * 10^-n.
  double rounded = 0;
  if (head != 0 && !exactScaled(head, -n, rounded)) return roundFifteenDigitsByText(d, n);
  return d < 0 ? -rounded : rounded;
}

double fifteenDigitDecimalByText(double d) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", d);
  return std::strtod(buf, nullptr);
}

double fifteenDigitDecimal(double d) {
  if (!std::isfinite(d) || d == 0.0) return d;
  std::uint64_t digits = 0;
  int exponent = 0;
  double value = 0;
  if (!fifteenDigits(std::fabs(d), digits, exponent) ||
      !exactScaled(digits, exponent - 14, value)) {
    return fifteenDigitDecimalByText(d);
  }
  return d < 0 ? -value : value;
}

}  // namespace quillon::sql
