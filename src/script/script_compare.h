// How a host script's expectations compare what they found with what they expect. The comparison
// is the one a person reading the transcript would make, not the platform's loose coercion:
//  - `=`: null, nothing and an Empty value match only themselves; a number matches a number
//    (Booleans count as -1 and 0, dates as their serial) within a relative 1e-9, so a decimal
//    column read back as a Double still equals its literal; true and false match Booleans, and
//    numbers by being non-zero or zero; a text matches a text byte for byte, and dates and numbers
//    by their display text ("2026-12-05", "10.5"); an Empty value matches ""; an error object
//    ($error after a line that raised) matches its number or its text; two objects match when
//    they are the same object. `<>` holds where `=` does not.
//  - `<`, `<=`, `>`, `>=` order numbers (with Booleans and dates) by value, texts byte by byte, and
//    a date against a "YYYY-MM-DD" text by the date; any other pair cannot be ordered.
//  - `like` matches a value's text (a number or date by its display text, an error by its text)
//    against a pattern of the library's own Like.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "automation/variant.h"
#include "script/script_ast.h"

namespace quillon::script {

// Values that cannot be compared with the operator asked for (a text ordered against a number,
// Null ordered, like on an object, a malformed pattern): what() says why.
class CompareError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool matches(const automation::Variant& actual, const automation::Variant& expected);
// Whether `actual OP expected` holds; CompareError when it cannot be decided.
bool compare(const automation::Variant& actual, CompareOp op, const automation::Variant& expected);

// "=", "<>", "<", "<=", ">", ">=", "like".
std::string_view compareOpText(CompareOp op);

// A value as a failure message shows it: texts quoted as a script writes them, True, 12, 10.5,
// Null, Empty, Nothing, <ClassName>.
std::string valueText(const automation::Variant& value);

}  // namespace quillon::script
