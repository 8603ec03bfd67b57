// Dialect: how one engine writes what the translator has read.
//
// The translator (expression.cpp, ddl.cpp, translator.cpp) works out the shape of a T-SQL statement
// once: its items, its calls and their arguments, its column definitions. Wherever the engines
// write that shape differently, it asks the dialect of the engine it writes for: names and
// temporary objects, the dialect layer's helper functions and the calls that map onto the engine's
// own, CONVERT and CAST, LIKE and COLLATE, column definitions and their collation, and what the
// engine needs to be told of the names as written. Each engine's dialect lives in the engine's
// folder (sql/sqlite/, sql/pg/); nothing in the translator asks which engine it writes for.
//
// A dialect holds no state: one object per engine, shared by every translator (dialectOf).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sql/program.h"
#include "sql/token.h"
#include "sql/type_name.h"

namespace quillon::sql {

// The arguments of a call as the translator reads them, each written for the engine when asked
// for (an argument the engine's call leaves out is never translated).
class CallArguments {
 public:
  CallArguments() = default;
  CallArguments(const CallArguments&) = delete;
  CallArguments& operator=(const CallArguments&) = delete;
  virtual std::size_t size() const = 0;
  bool empty() const { return size() == 0; }
  // Argument i as the engine writes it.
  virtual std::string at(std::size_t i) const = 0;
  // Everything between the parentheses as the engine writes it.
  virtual std::string all() const = 0;

  virtual ~CallArguments() = default;
};

// How one column definition's type is written: the engine's text, and the T-SQL type text the
// engine keeps as a domain of the database ("nvarchar(20)"; empty when it keeps none).
struct ColumnType {
  std::string sql;
  std::string domain;
};

class Dialect {
 public:
  virtual ~Dialect() = default;

  virtual Engine engine() const = 0;

  // --- Names ------------------------------------------------------------------------------------

  // A single token as the engine writes it: literals quoted, names as name() writes them,
  // temporary tables in the engine's place for them, @@identity and @@rowcount, and the words the
  // engine reserves written as names. Throws for another variable.
  std::string tokenText(const Token& t) const;
  // A name (a table, a column, an alias) as the engine writes it.
  virtual std::string name(std::string_view written) const = 0;
  // A temporary table ("#x", "tempdb..x"), and tempdb's catalogue of them (tempdb..sysobjects).
  virtual std::string temporaryName(std::string_view written) const = 0;
  virtual std::string temporaryCatalogue() const = 0;
  // Whether the engine reserves a word (lower case) the library's T-SQL uses as a name.
  virtual bool reserves(std::string_view lowerWord) const = 0;
  // @@identity and @@rowcount.
  virtual std::string identity() const = 0;
  virtual std::string rowCount() const = 0;
  // An index's name, and the table it is on as CREATE INDEX names it (an index on a temporary
  // table lives beside the table).
  virtual std::string indexName(std::string_view written, bool onTemporaryTable) const = 0;
  virtual std::string indexedTable(const Token& table) const = 0;

  // --- Functions and operators ------------------------------------------------------------------

  // The engine's name of a helper function of the dialect layer that both engines have with the
  // same arguments: "add", "convert_text", "recursion_level".
  virtual std::string helper(std::string_view name) const = 0;
  // A call of the T-SQL function `name` (lower case) as the engine writes it; nothing when the
  // engine calls it by its own name with the arguments as written. Throws for arguments the
  // engine's call cannot take.
  virtual std::optional<std::string> call(std::string_view name,
                                          const CallArguments& args) const = 0;
  // The engine's function for DATEADD, DATEDIFF, DATEPART and DATENAME (`name`), which takes the
  // date part as a literal first.
  virtual std::string dateFunction(std::string_view name) const = 0;
  // CONVERT / CAST of `expr` (engine text) to `type`, with CONVERT's style (engine text, "NULL"
  // when none). Throws for a type the engine cannot convert to.
  virtual std::string convert(const TypeName& type, const std::string& expr,
                              const std::string& style) const = 0;
  // "a / b", or "a % b" when `remainder`: integers divide as integers, a zero divisor fails with
  // "Divide by zero error encountered." on every engine.
  virtual std::string divide(const std::string& left, const std::string& right,
                             bool remainder) const = 0;
  // "a + b", "a - b" or "a * b" (`op`) on numbers: an int result beyond the int range fails with
  // "Arithmetic overflow error converting expression to data type int." on every engine.
  virtual std::string arithmetic(char op, const std::string& left,
                                 const std::string& right) const = 0;
  // A CASE or COALESCE (engine text) that has a bigint among its results, which makes its result
  // a bigint also where the value comes from another result; and one that has a decimal or a
  // float among them, which makes it a real (an int result divides as a real, 3 / 2 is 1.5).
  virtual std::string bigint(const std::string& expr) const = 0;
  // ISNULL(first, second) with a first argument whose type the translation does not know and a
  // second one that is a decimal or float (`real`) or may be one (a column of unknown type): the
  // result has the first argument's type as far as the engine knows it (an int cuts a real to an
  // int).
  virtual std::string isnullOfFirstType(const std::string& first, const std::string& second,
                                        bool real) const = 0;
  virtual std::string real(const std::string& expr) const = 0;
  // "a ^ b".
  virtual std::string bitXor(const std::string& left, const std::string& right) const = 0;
  // Whether a CASE has one type on the engine, so that a text literal among other results has to
  // be matched by those results written as texts (the embedded engine keeps each row's result as
  // it is).
  virtual bool caseHasOneType() const = 0;
  // An operand of a comparison (engine text) that compares without regard to case if it is a
  // text, as T-SQL's default collation does: `evident` when the statement shows it is one, else
  // it may be one (a CASE or COALESCE of columns).
  virtual std::string caseBlind(const std::string& operand, bool evident) const = 0;
  // "COLLATE x" after an operand: the comparison ignoring case or heeding it.
  virtual std::string collate(bool ignoresCase) const = 0;
  // LIKE (the operator as written), and a literal pattern after it that the engine has to be
  // given differently (nothing: as written) when no ESCAPE clause follows.
  virtual std::string like(const Token& op) const = 0;
  virtual std::optional<std::string> likePattern(std::string_view pattern) const = 0;
  // "WITH" before common table expressions, any of which may refer to itself.
  virtual std::string with(bool recursive) const = 0;

  // --- Definitions ------------------------------------------------------------------------------

  // A column's type, and an identity column's type and key.
  virtual ColumnType columnType(const TypeName& type) const = 0;
  virtual std::string identityColumn(std::string_view base) const = 0;
  // A column's COLLATE clause (`written` as the translator writes "COLLATE name"); may refuse it.
  virtual std::string columnCollation(const std::string& written, std::string_view collation,
                                      std::string_view base) const = 0;
  // What follows a column's definition so that it compares and checks its values as on the
  // server (`collated`: the definition has a COLLATE clause of its own).
  virtual std::string columnRules(const std::string& column, std::string_view base,
                                  bool collated) const = 0;

  // Whether the engine folds the names it is not given quoted, so that the translation carries
  // the names as written: a select's column names, and a note of them on what CREATE TABLE,
  // CREATE VIEW and SELECT … INTO make.
  virtual bool keepsWrittenNames() const = 0;
  // Whether the engine parses a chain of ORs or ANDs one level deeper per term, under a depth
  // limit, so that long chains are regrouped (groupLongChains).
  virtual bool nestsFlatChains() const = 0;
  // Whether the engine runs `x IN (SELECT x FROM …)` naming the outer x in its list once per
  // outer row but hashes the same sub-select once as EXISTS, so that such INs are written as
  // EXISTS (existsForOuterIn); and whose planner, given an IN it cannot join (under OR), builds
  // the sub-select whole where it would look an EXISTS up per row (correlatedIn).
  virtual bool prefersExistsForOuterIn() const = 0;
  // Whether the engine gives the first rows of a SELECT DISTINCT only once it has read all, where
  // it would give them as they come grouped, so that DISTINCT is written as GROUP BY
  // (distinctAsGrouping).
  virtual bool groupsDistinct() const = 0;
  // The statement that notes `noted` (writtenNames) on a new table or view ("TABLE", "VIEW"),
  // run after the one that makes it; and the one that notes a column ALTER TABLE added.
  virtual std::string noteNames(std::string_view kind, const std::string& object,
                                const std::string& noted) const = 0;
  virtual std::string noteAddedColumn(const std::string& table,
                                      const std::string& written) const = 0;

 protected:
  Dialect() = default;
  Dialect(const Dialect&) = default;
  Dialect& operator=(const Dialect&) = default;
};

// The dialect of an engine.
const Dialect& dialectOf(Engine engine);

// The length a conversion to a text type gives (T-SQL's default: 30 characters without a length,
// 128 for sysname, none for text and ntext or max; 0 stands for none), as text.
std::string convertedLength(const TypeName& type);

}  // namespace quillon::sql
