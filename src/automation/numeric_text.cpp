#include "automation/numeric_text.h"
#include "automation/text_compare.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quillon::automation {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::optional<double> parseRadixInteger(std::string_view digits, int radix, bool negative) {
  if (digits.empty()) return std::nullopt;
  unsigned long long value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, radix);
  if (ec != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  double d = static_cast<double>(value);
  return negative ? -d : d;
}

}  // namespace

std::optional<double> parseNumericText(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  std::string_view s = text.substr(b, e - b);
  if (s.empty()) return std::nullopt;

  bool negative = false;
  std::size_t i = 0;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    ++i;
    while (i < s.size() && isBlank(s[i])) ++i;
  }
  if (i + 1 < s.size() && s[i] == '&') {
    const char p = upperAscii(s[i + 1]);
    if (p == 'H') return parseRadixInteger(s.substr(i + 2), 16, negative);
    if (p == 'O') return parseRadixInteger(s.substr(i + 2), 8, negative);
    return std::nullopt;
  }

  // Rebuild a plain "digits.digitsE±digits" text for from_chars, dropping the separators.
  std::string clean;
  clean.reserve(s.size());
  if (negative) clean.push_back('-');
  bool intDigits = false;
  bool fracDigits = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      clean.push_back(c);
      intDigits = true;
    } else if (c == ',' && intDigits) {
      continue;
    } else {
      break;
    }
  }
  if (i < s.size() && s[i] == '.') {
    clean.push_back('.');
    ++i;
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
      clean.push_back(s[i]);
      fracDigits = true;
    }
  }
  if (!intDigits && !fracDigits) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    clean.push_back('e');
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) clean.push_back(s[i++]);
    bool expDigits = false;
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
      clean.push_back(s[i]);
      expDigits = true;
    }
    if (!expDigits) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;

  double value = 0;
  auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (end != clean.data() + clean.size()) return std::nullopt;
  if (ec == std::errc::result_out_of_range) {
    // Underflow is a zero; overflow is not a representable number.
    if (std::fabs(value) < 1.0) return negative ? -0.0 : 0.0;
    return std::nullopt;
  }
  if (ec != std::errc{}) return std::nullopt;
  return value;
}

std::string formatGeneralNumber(double value) {
  if (value == 0.0) return "0";
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", value);
  std::string s(buf);
  // printf writes at least two exponent digits already; only the mantissa can need tidying.
  return s;
}

}  // namespace quillon::automation
