// A double as the decimal its first 15 significant digits write, the way the server converts a
// double precision to numeric, computed in integers where that is exact.
#pragma once

#include <cstdint>

namespace quillon::sql {

// round(d, n) on a real as T-SQL has it: half away from zero, on the decimal of the first 15
// significant digits of d. A d already written in at most n places after the point (or not
// finite, or zero) is returned as it is.
double roundFifteenDigits(double d, std::int64_t n);

// The same through printf and strtod: what roundFifteenDigits falls back on where its integer
// arithmetic cannot be exact. Both give the same bits for every d and n.
double roundFifteenDigitsByText(double d, std::int64_t n);

// d as the decimal its first 15 significant digits write, read back as a double ("%.15g" then
// strtod).
double fifteenDigitDecimal(double d);
double fifteenDigitDecimalByText(double d);

}  // namespace quillon::sql
