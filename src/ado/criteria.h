// Filter criteria: the text a caller assigns to Recordset.Filter, parsed once and compiled against
// a RecordData into a predicate over row numbers.
//
// Grammar: clause := name op value; op is = <> < > <= >= or LIKE; name is bare (any characters
// but blanks, quotes, brackets, parentheses and operators, non-ASCII included) or in [brackets];
// value is 'text' ('' for a quote), a number, #date# or Null (only with = and <>). Clauses join
// with AND and OR, AND binding tighter, and group with parentheses. LIKE takes a text whose
// wildcard, % or *, may stand at its start, its end or both. Text compares without regard to
// case; a clause on a Null value is false except "= Null".
//
// Errors: 3001 for any text that does not follow the grammar, nests parentheses deeper than
// kMaxCriteriaNesting levels, names a field the recordset does not have, or holds a value the
// field's type cannot take.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ado/record_data.h"

namespace quillon::ado {

inline constexpr int kMaxCriteriaNesting = 100;

enum class CompareOp : std::uint8_t { Eq, Ne, Lt, Gt, Le, Ge, Like };

struct CriteriaLiteral {
  enum class Kind : std::uint8_t { Null, Text, Number, Date };
  Kind kind = Kind::Null;
  std::string text;
  double number = 0.0;  // Number, and the serial of a Date
};

struct CriteriaNode {
  enum class Kind : std::uint8_t { Clause, And, Or };
  Kind kind = Kind::Clause;
  std::string field;
  CompareOp op = CompareOp::Eq;
  CriteriaLiteral value;
  std::vector<CriteriaNode> children;  // And / Or
};

// A text value as a criteria literal: '…' with its quotes doubled, so that it stays one value.
std::string criteriaLiteral(std::string_view text);

// 3001 when the text does not follow the grammar. An empty or blank text is not criteria; the
// caller treats it as "no filter".
CriteriaNode parseCriteria(std::string_view text);

// A compiled criteria: tests rows of the RecordData it was compiled against.
class RowPredicate {
 public:
  virtual ~RowPredicate() = default;
  virtual bool test(std::size_t row) const = 0;
};

// 3001 for an unknown field or a value the field cannot be compared with.
std::unique_ptr<RowPredicate> compileCriteria(const CriteriaNode& criteria, const RecordData& data);

}  // namespace quillon::ado
