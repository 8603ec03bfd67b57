// Translation of the data-definition statements: CREATE TABLE / VIEW / INDEX, DROP, ALTER TABLE.
//
// Column types keep their T-SQL name in the engine's declared type (see declared_type.h); text
// columns compare without regard to case; identity columns become auto-increment keys; storage
// options (ON [PRIMARY], CLUSTERED, WITH (...)) have no meaning for the engine and are dropped.
// On the server a column's type is a domain named after its T-SQL type (tsql."varchar(20)"),
// so that the declared type can be read back, and the names as written are noted on the table.
#pragma once

#include <vector>

#include "sql/program.h"
#include "sql/token.h"

namespace quillon::sql {

std::vector<Op> translateCreate(const Tokens& tokens, Dialect dialect);
std::vector<Op> translateDrop(const Tokens& tokens, Dialect dialect);
std::vector<Op> translateAlter(const Tokens& tokens, Dialect dialect);

}  // namespace quillon::sql
