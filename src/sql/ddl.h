// Translation of the data-definition statements: CREATE TABLE / VIEW / INDEX, DROP, ALTER TABLE.
//
// The statement's shape is read here; how a column's type, identity, collation and checks are
// written, and whether the names as written are noted on what is made, is the engine's Dialect
// (dialect.h). Text columns compare without regard to case; identity columns become
// auto-increment keys; storage options (ON [PRIMARY], CLUSTERED, WITH (...)) have no meaning for
// the engines and are dropped.
#pragma once

#include <vector>

#include "sql/dialect.h"
#include "sql/program.h"
#include "sql/token.h"

namespace quillon::sql {

std::vector<Op> translateCreate(const Tokens& tokens, const Dialect& dialect);
std::vector<Op> translateDrop(const Tokens& tokens, const Dialect& dialect);
std::vector<Op> translateAlter(const Tokens& tokens, const Dialect& dialect);

}  // namespace quillon::sql
