// Splits a T-SQL batch into its statements.
//
// The library's batches run several statements back to back without separators ("... drop table
// X create table X (...) insert into X select ..."), as well as with ";" or GO lines. A statement
// ends where the next one starts: at a statement keyword outside parentheses that cannot continue
// the current statement. IF conditions and BEGIN ... END blocks become nodes of their own so the
// engine can evaluate the condition and run the guarded statement only when it holds.
#pragma once

#include <cstddef>
#include <vector>

#include "sql/token.h"

namespace quillon::sql {

struct StatementNode {
  enum class Kind { Simple, If, Block };
  Kind kind = Kind::Simple;
  // Simple: the statement; If: the condition. Positions in the batch's tokens, so that a batch of
  // many statements is held once, not once more in its statements.
  std::size_t begin = 0;
  std::size_t end = 0;
  std::vector<StatementNode> body;      // If: the guarded statement(s); Block: its statements
  std::vector<StatementNode> elseBody;  // If: the ELSE branch, if any

  // The tokens of the statement or condition.
  Tokens tokensOf(const Tokens& batch) const {
    return Tokens(batch.begin() + static_cast<std::ptrdiff_t>(begin),
                  batch.begin() + static_cast<std::ptrdiff_t>(end));
  }
};

// Whether a token is a keyword that may start a statement (select, insert, delete, if, end, ...):
// outside parentheses, such a word ends the statement before it unless it can continue it.
bool isStatementStart(const Token& t);

// Throws ComError when IF has no statement, or BEGIN has no END.
std::vector<StatementNode> splitBatch(const Tokens& tokens);

}  // namespace quillon::sql
