// A translated batch: the engine statements to run, in order, with the control flow of the T-SQL
// batch (IF conditions, SELECT ... INTO) that the engine cannot express in one statement.
#pragma once

#include <string>
#include <vector>

namespace quillon::sql {

// The engine a translation is for: the embedded file or the database server.
enum class Engine : unsigned char { SQLite, PostgreSQL };

struct Op {
  enum class Kind {
    Exec,        // run sql
    SelectInto,  // create `target` shaped like the result of sql, then fill it from sql
    If,          // run sql (one row, one column); run body when it is non-zero, else elseBody
    Noop,        // a statement with no effect on the engine (SET NOCOUNT ON, PRINT)
    DropTable,   // run sql (DROP TABLE), unless `target` names a view that stands for a table
  };
  Kind kind = Kind::Exec;
  std::string sql;
  // SelectInto: the new table, as the engine names it. DropTable: the table's name as written
  // (empty for a temporary table), which may name a view that stands for a table (see
  // Database::routeViewUpdates): that view is dropped with the rows its updates wrote.
  std::string target;
  std::string source;  // the T-SQL statement, for error texts
  // The server only:
  // the names of a select's columns as the statement writes them ("*" for a star, the
  // embedded engine's name for an expression), which the server would give in lower case;
  std::vector<std::string> columnNames;
  // the types its definitions need (T-SQL, "nvarchar(20)"), kept as domains of the database;
  std::vector<std::string> domains;
  // what SELECT … INTO notes on the new table: its name and its columns' names as written.
  std::string comment;
  std::vector<Op> body;
  std::vector<Op> elseBody;
};

using Program = std::vector<Op>;

}  // namespace quillon::sql
