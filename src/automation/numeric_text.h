// Numbers as text, the way the platform reads and writes them: the numeric-text grammar shared by
// CDbl, IsNumeric and Val-like conversions, and the shortest general form CStr gives a Double.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon::automation {

// Accepts surrounding blanks, a leading sign, digits with "," thousands separators in the integer
// part, a "." fraction, an exponent ("1E3", "2.5e-2") and "&H" / "&O" prefixed integers.
// Returns nothing for anything else, including an empty or blank text.
std::optional<double> parseNumericText(std::string_view text);

// CStr of a Double: up to 15 significant digits, scientific form with "E+nn"/"E-nn" outside
// 1E-5 .. 1E15, never "-0".
std::string formatGeneralNumber(double value);

}  // namespace quillon::automation
