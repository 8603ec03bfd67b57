// What a person reads over a column whose caption is a database field name. Queries and lookups
// name their columns by their fields (cInvCode, cCusName); scripts, rules and the result
// collections keep reading those names, but a clerk is shown a Chinese caption for each field the
// suite's archives and stock queries return, and never sees the internal row keys (AutoID, iId).
#pragma once

#include <string>
#include <string_view>

namespace quillon::forms {

// The caption drawn over a column captioned `caption`: the Chinese name of a known field (names
// compared without regard to case), the caption itself otherwise.
std::string shownCaption(std::string_view caption);

// Whether a column captioned `caption` holds an internal row key no person needs to read: it is
// kept in the list (scripts and rules read it) but not drawn.
bool isInternalKey(std::string_view caption);

// What kind of amount a column named `caption` holds, so it can show the account's decimals:
// a quantity ("…数量"), a number of pieces ("…件数"), or neither.
enum class AmountKind { None, Quantity, Pieces };
AmountKind amountKindOf(std::string_view caption);

}  // namespace quillon::forms
