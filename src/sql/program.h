// A translated batch: the engine statements to run, in order, with the control flow of the T-SQL
// batch (IF conditions, SELECT ... INTO) that the engine cannot express in one statement.
#pragma once

#include <string>
#include <vector>

namespace quillon::sql {

struct Op {
  enum class Kind {
    Exec,        // run sql
    SelectInto,  // create `target` shaped like the result of sql, then fill it from sql
    If,          // run sql (one row, one column); run body when it is non-zero, else elseBody
    Noop,        // a statement with no effect on the engine (SET NOCOUNT ON, PRINT)
  };
  Kind kind = Kind::Exec;
  std::string sql;
  std::string target;
  std::string source;  // the T-SQL statement, for error texts
  std::vector<Op> body;
  std::vector<Op> elseBody;
};

using Program = std::vector<Op>;

}  // namespace quillon::sql
