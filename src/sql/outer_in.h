// `x IN (SELECT x FROM … WHERE …)`, a sub-select that lists only the outer operand, written as
// `(EXISTS (SELECT 1 FROM … WHERE …) AND x = x)`.
//
// Every row such a sub-select gives holds the outer x, so the IN is false when it gives no row,
// and otherwise is x = x: true, or unknown for a NULL x. The EXISTS form gives exactly that, in
// three-valued logic, negated too. An engine that runs the IN as a sub-plan per outer row (the
// select list names the outer row, so it can neither hash nor join it) hashes the EXISTS once.
#pragma once

#include "sql/token.h"

namespace quillon::sql {

// The tokens with every such IN rewritten. Only where the answer is provably the same:
// - the operand is a qualified column `q.c` standing as a whole operand (after "(", AND, OR, NOT,
//   WHERE, ON, HAVING, WHEN, IF, WHILE or at the start), and the sub-select's list is that same
//   column, alone, after at most DISTINCT or ALL;
// - the sub-select's FROM clause does not name `q` at all (so `q.c` is the outer row's);
// - the sub-select has no TOP, GROUP BY, HAVING, ORDER BY, UNION, EXCEPT, INTERSECT, INTO, FOR or
//   OPTION of its own.
// NOT IN is left as written. Nothing else changes; the tokens added take the offset of the "IN".
Tokens existsForOuterIn(Tokens tokens);

// `x IN (SELECT c FROM … [WHERE w])` where only the condition's truth counts, written as
// `EXISTS (SELECT 1 FROM … WHERE (w) AND c = x)`: an engine that cannot join an IN under OR
// builds its sub-select whole before the first row, and then only to hash it; the EXISTS it may
// look up row by row, and it joins one under AND as it would the IN. Unknown and false differ
// only under a NOT, so the rewrite is made where none applies:
// - the operand is a column standing as a whole operand, not after NOT, and no group holding it is
//   negated up to the sub-select or statement whose condition it is;
// - a qualified operand's qualifier is not named by the sub-select's FROM clause; an unqualified
//   one is in a select's WHERE and is qualified by the one table of that select's FROM that has
//   the column, as the schema of the translation under way tells (none told: left as written);
// - the sub-select lists one column, after at most DISTINCT or ALL, and has no TOP, GROUP BY,
//   HAVING, ORDER BY, UNION, EXCEPT, INTERSECT, INTO, FOR or OPTION of its own.
// Nothing else changes; the tokens added take offsets inside the IN's.
Tokens correlatedIn(Tokens tokens);

}  // namespace quillon::sql
