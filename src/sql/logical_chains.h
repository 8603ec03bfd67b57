// Long chains of OR (or AND) regrouped into nested parentheses.
//
// An engine that parses "a or b or c …" as a tree one level deeper per term refuses a condition
// of a thousand terms (a selection of that many marked lines). OR and AND are associative, in
// three-valued logic too, so "a or (b or c or d) or e" means what the flat chain means; grouping
// the chain's terms in parentheses of up to kChainGroup terms each bounds the depth by
// kChainGroup × log(n) / log(kChainGroup) and adds only a few levels of parentheses.
#pragma once

#include <cstddef>

#include "sql/token.h"

namespace quillon::sql {

// A chain of more terms than this is regrouped; shorter ones are left as written.
inline constexpr std::size_t kLongestFlatChain = 64;
// The number of terms in each group made.
inline constexpr std::size_t kChainGroup = 32;

// The tokens with every chain of more than kLongestFlatChain terms joined by OR, or by AND, at one
// parenthesis level regrouped. Only the terms strictly inside a chain are grouped, those with an
// operator of the chain on either side, so that where the chain starts and ends need not be known:
// a chain is broken by anything that cannot stand inside a term (a comma, a clause or CASE word);
// the AND of a BETWEEN belongs to its term; an AND chain lies within one term of an OR chain.
// Nothing else changes: the tokens added are "(" and ")" with the offset of the token they
// precede.
Tokens groupLongChains(Tokens tokens);

}  // namespace quillon::sql
