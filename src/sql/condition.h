// The one check of a condition that comes from outside: a WHERE text a host hands in (a filter
// of a reference call, the host condition of the inventory picker, what a named filter gave back,
// the condition of a suite service's query) before the library puts it into a statement.
//
// A condition is one expression. Read with the dialect layer's own tokenizer, it is refused when
// it could be more than that once it stands inside a statement, "… where (" + condition + ")":
//   - a comment (-- or /* */), which would swallow the rest of the statement;
//   - ";" or GO, which would end the statement or the batch;
//   - a ")" that closes a parenthesis it did not open, or a "(" it leaves open;
//   - a keyword that starts a statement (insert, update, delete, drop, exec, if, begin, set, …),
//     into, go, or select / union / with outside the parentheses of a subquery;
//   - end or else without a case it belongs to, a case without its end;
//   - a "." at its end, which would make a name of the word that follows it ("tempdb." + "order");
//   - an unterminated literal or quoted name, or a NUL byte (which would end the text early).
// Everything an expression may hold passes: subqueries in parentheses ("cInvCode in (select …)",
// "exists (select …)"), literals with quotes, semicolons or dashes inside ('a;b', N'O''Neil',
// '--'), LIKE patterns, case … end, functions, and a trailing "order by" where a caller takes one.
// What the expression means is the engine's business: a condition that names a column that is
// not there still fails as the engine says, when the statement runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sql/sql_error.h"

namespace quillon::sql {

// The error of a refused condition is SqlError::conditionRefused: the number every refused SQL
// text carries, and a text that starts with kConditionRefusedText, then the reason and the start
// of the condition.

// Why `condition` is not one expression, or nothing when it is (an empty or blank condition is:
// it narrows nothing).
std::optional<std::string> conditionFault(std::string_view condition);

// Throws SqlError (kSqlErrorNumber) "The condition is not one expression: <why> in: <condition>"
// unless `condition` is one expression.
void checkCondition(std::string_view condition);

}  // namespace quillon::sql
