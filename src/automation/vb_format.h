// Format(value, pattern) of the platform's runtime, for the patterns the library uses.
//
// Number patterns: "0" a digit that is always shown, "#" a digit shown when significant, "." the
// decimal point (kept even when no decimals follow: Format(5, "##0.") is "5."), "," between digit
// placeholders groups thousands (a "," just before the point or the end divides by 1000), "%"
// multiplies by 100; quoted "text" and "\c" are literal, as is any other character. Up to three
// ";"-separated sections give the positive, negative and zero forms.
// Rounding is half away from zero on the decimal value as written (2.675 at two places is 2.68),
// never on the binary approximation.
//
// Date patterns (any pattern made of y, m, d, h, n, s letters and separators): "yyyy", "yy",
// "mm"/"m" (minutes after an hour or before seconds), "dd"/"d", "hh"/"h", "nn"/"n", "ss"/"s",
// letters in either case: Format(d, "YYYY-MM-DD") is "2026-12-05".
//
// Null and Empty give ""; a text that is not a number (or date) is returned unchanged; no pattern
// gives the value's CStr text.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"

namespace quillon::automation {

std::string Format(const Variant& value, std::string_view pattern = {});

// The number part alone, for callers that already hold a Double.
std::string formatNumber(double value, std::string_view pattern);
// The number that formatNumber(value, pattern) reads back as ("," ignored), worked out without
// the text, for a pattern of one section that only places digits ("##0.00", "#,##0.000"): the
// value rounded as the text rounds it. Nothing for any other pattern (literals, "%", scaling,
// sections), a value that is not finite, or a zero the pattern shows without a digit ("" for
// "#"); the caller then reads the text.
std::optional<double> formattedNumberValue(double value, std::string_view pattern);

// A number pattern read once, for a caller that formats many values with it (a grid column, a
// dialog's quantity format): format is formatNumber and shownValue formattedNumberValue with the
// pattern. Copies share the parsed pattern.
class NumberFormat {
 public:
  NumberFormat();
  explicit NumberFormat(std::string_view pattern);
  const std::string& pattern() const;
  std::string format(double value) const;
  std::optional<double> shownValue(double value) const;
  // shownValue as a plain double, NaN where the text is not a number: for callers that round
  // many values (an optional<double> is returned through memory).
  double shownNumber(double value) const;
  bool sameAs(const NumberFormat& other) const {
    return compiled_ == other.compiled_ || pattern() == other.pattern();
  }

 private:
  struct Compiled;
  std::shared_ptr<const Compiled> compiled_;
};
std::string formatDate(DateValue value, std::string_view pattern);

}  // namespace quillon::automation
