// Small text and value helpers shared by the dialogs: the date-range condition of their WHERE
// texts, the key filter that keeps SQL-breaking characters out of typed filter text, null and
// number conversions, and the prefix test.
#pragma once

#include <string>
#include <string_view>

#include "automation/variant.h"

namespace quillon::module {

// The WHERE fragment for `field` between two "YYYY-MM-DD" texts (either may be empty; the bounds
// are swapped when the upper one is the earlier); "" when both are empty.
std::string DateRangeCondition(std::string_view field, std::string_view lower,
                               std::string_view upper);

// Refuses | ~ [ ] ' @ " < & : the key becomes 0 and the UI host beeps.
void FilterKeyAscii(int& keyAscii);

// `value`, or `fallback` when it is Null.
automation::Variant NullDefault(const automation::Variant& value,
                                const automation::Variant& fallback);

// 0 for an empty text (blanks only included); otherwise the text without its "," as a Double
// (a text that is not a number raises 13).
double ToNumber(const automation::Variant& text);

// True when `text` begins with `prefixes` (one value) or with one element of it (an array,
// tested in index order; the index of the match is left in gStartsIndex).
bool StartsWithAny(std::string_view text, const automation::Variant& prefixes);

}  // namespace quillon::module
