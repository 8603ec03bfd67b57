// `SELECT DISTINCT list FROM …` written as `SELECT list FROM … GROUP BY list`, for an engine that
// removes duplicates only after a whole sort or hash but groups rows that come in part in order as
// they come: a list whose first column is a key it reads in order then gives its first rows
// without reading all the others first, and the select list's sub-selects are worked out once per
// group rather than once per row joined.
#pragma once

#include "sql/token.h"

namespace quillon::sql {

// One statement's tokens with its DISTINCT written as grouping, when the statement is a single
// SELECT DISTINCT [TOP n] with a FROM clause and no GROUP BY, HAVING, UNION, EXCEPT, INTERSECT or
// COMPUTE, whose list has no `*`, aggregate or window, and no variable it assigns. The keys are
// the list's expressions without their aliases, constants left out (they group nothing). Anything
// else, and a statement with no column to group by, is returned as it is. The tokens added take
// offsets inside the statement's.
Tokens distinctAsGrouping(Tokens statement);

}  // namespace quillon::sql
