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

#include <string>
#include <string_view>

#include "automation/variant.h"

namespace quillon::automation {

std::string Format(const Variant& value, std::string_view pattern = {});

// The number part alone, for callers that already hold a Double.
std::string formatNumber(double value, std::string_view pattern);
std::string formatDate(DateValue value, std::string_view pattern);

}  // namespace quillon::automation
