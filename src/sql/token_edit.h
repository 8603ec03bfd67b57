// What the rewrites of a statement's tokens share: telling names and words apart, pairing the
// parentheses, and making the tokens they add.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "sql/token.h"

namespace quillon::sql {

// A name as written, quoted or not, that is no keyword.
bool isPlainName(const Token& t);

bool isAnyWord(const Token& t, std::initializer_list<std::string_view> words);

// The aggregate functions of T-SQL, lower case.
inline constexpr std::array<std::string_view, 14> kAggregates{
    "sum",    "avg", "min",  "max",        "count",        "count_big", "stdev",
    "stdevp", "var", "varp", "string_agg", "checksum_agg", "grouping",  "grouping_id"};

// A token a rewrite adds at `offset` of the source text, taking none of it.
Token addedToken(TokenKind kind, const char* text, std::size_t offset);

// The parentheses of a statement's tokens, paired.
class ParenPairs {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  explicit ParenPairs(const Tokens& t);

  // False when they do not balance or nest so deep that one level more would pass the
  // translation's limit (the translation refuses or accepts such a batch as is).
  bool pair();

 protected:
  const Tokens& t_;
  std::vector<std::size_t> match_;      // for "(": its ")"
  std::vector<std::size_t> opening_;    // for ")": its "("
  std::vector<std::size_t> enclosing_;  // the "(" of the innermost group holding the token
};

}  // namespace quillon::sql
