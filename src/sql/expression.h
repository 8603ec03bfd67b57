// Rewrites T-SQL expressions, clauses and whole DML statements into the engine's dialect, token
// range by token range: function names and argument shapes (isnull, convert, cast, len, left,
// right, charindex, getdate, ...), string concatenation with "+", TOP N, table hints, temporary
// table names and quoted names.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "sql/column_types.h"
#include "sql/dialect.h"
#include "sql/program.h"
#include "sql/token.h"

namespace quillon::sql {

[[noreturn]] void unsupported(const std::string& construct);

class ExprTranslator {
 public:
  // Throws ComError when parentheses or CASE ... END do not balance or nest deeper than
  // kMaxNesting.
  explicit ExprTranslator(const Tokens& tokens, const Dialect& dialect = dialectOf(Engine::SQLite));

  // The engine text for tokens [begin, end).
  std::string range(std::size_t begin, std::size_t end) const;
  std::string all() const { return range(0, t_.size()); }

  // Index of the ")" matching the "(" at i.
  std::size_t closing(std::size_t open) const { return match_[open]; }
  // Positions of the depth-0 commas in [begin, end).
  std::vector<std::size_t> commas(std::size_t begin, std::size_t end) const;

  const Tokens& tokens() const { return t_; }
  const Dialect& dialect() const { return d_; }

  // How a single token is written for the engine (Dialect::tokenText).
  std::string tokenText(const Token& t) const { return d_.tokenText(t); }
  // A column alias as the engine writes it.
  std::string aliasText(const std::string& name) const;

 private:
  struct Item {
    std::size_t begin;
    std::size_t end;
    enum class Kind { Token, Path, Group, Call, Case } kind;
  };
  enum class Flavour { Unknown, Text, Number };
  struct RangeState;

  // The steps of range(): each writes item k (and what belongs to it) and moves k on.
  bool namedColumn(const std::vector<Item>& its, std::size_t& k, RangeState& st) const;
  void selectHead(const std::vector<Item>& its, std::size_t& k, RangeState& st) const;
  void checkGrouping(const std::vector<Item>& its, std::size_t listBegin) const;
  // Whether tokens [begin, end) are written as a GROUP BY key (word by word, as checkGrouped
  // matches them).
  bool isGroupKey(std::size_t begin, std::size_t end) const;
  // What a grouped select groups by: the token ranges of its GROUP BY expressions, the names of
  // the plain columns among them (lower case), and the names of its own tables and aliases.
  struct Grouping {
    std::vector<std::pair<std::size_t, std::size_t>> keys;
    std::vector<std::string> names;
    std::vector<std::string> tables;
  };
  // Refuses a column of tokens [begin, end) that is neither grouped nor inside an aggregate.
  void checkGrouped(std::size_t begin, std::size_t end, const Grouping& grouping,
                    std::string_view clause) const;
  void writeItem(const std::vector<Item>& its, std::size_t& k, RangeState& st) const;
  void writeToken(const std::vector<Item>& its, std::size_t& k, RangeState& st) const;

  std::vector<Item> items(std::size_t begin, std::size_t end) const;
  std::string itemText(const Item& item) const;
  std::string call(const Item& item) const;
  std::string caseText(const Item& item) const;
  std::string convertCall(std::size_t typeBegin, std::size_t typeEnd, const std::string& expr,
                          const std::string& style) const;
  Flavour flavour(const std::vector<Item>& term) const;
  // Whether tokens [begin, end) hold, as an operand or a result outside a sub-select, what
  // evidently makes an expression a bigint (a conversion to bigint) or a real (a conversion to a
  // decimal or float type, a literal with a decimal point or an exponent).
  // `columns`: a column counts by its declared type where the translation knows it (the account
  // file's schema).
  enum class Evident { Bigint, Real };
  // `untyped`: a column whose type the translation does not know counts as one that may be of
  // the type.
  bool holds(std::size_t begin, std::size_t end, Evident type, bool columns = true,
             bool untyped = false) const;
  // The tokens of the one column of a sub-select in parentheses (a Group item), if it has one.
  std::optional<std::pair<std::size_t, std::size_t>> subSelectColumn(const Item& item) const;
  // Whether tokens [begin, end) are evidently an int: int literals, int columns, conversions to
  // int and what keeps their type (arithmetic of ints, ISNULL, ABS, ROUND, …, counts, lengths).
  bool isInt(std::size_t begin, std::size_t end) const;
  // The declared type of a column (a name or the last part of a path), as far as it is known.
  ValueType columnType(const Item& item) const;
  // ISNULL, which has its first argument's type.
  std::string isnull(std::size_t open, std::size_t comma, std::size_t close) const;
  // The token ranges of a CASE's THEN and ELSE results.
  std::vector<std::pair<std::size_t, std::size_t>> caseResults(const Item& item) const;
  std::string typedResults(const std::string& text,
                           const std::vector<std::pair<std::size_t, std::size_t>>& results) const;
  bool isOperand(const Item& item) const;
  bool isSign(const std::vector<Item>& its, std::size_t k) const;
  // The first of items [begin, end) after the unary "+" signs that start them (never `end`).
  std::size_t afterPlus(const std::vector<Item>& its, std::size_t begin, std::size_t end) const;
  // Whether an operand other than a literal is a text: evidently (a text function, a conversion
  // to text, a concatenation, a CASE or COALESCE with a text literal among its results), maybe (a
  // CASE, COALESCE, ISNULL or NULLIF of columns) or not.
  enum class Textual { No, Maybe, Evident };
  Textual textual(const Item& item) const;
  // The same for items [begin, end) when they are an operand of a comparison, IN or BETWEEN.
  Textual comparedText(const std::vector<Item>& its, std::size_t begin, std::size_t end) const;
  // The same for items [begin, end) wherever they stand.
  Textual operandText(const std::vector<Item>& its, std::size_t begin, std::size_t end) const;
  // Whether an operand that ends before item `end` is a whole column or key of its list.
  bool wholeKey(const std::vector<Item>& its, std::size_t end) const;
  // range(), with `keyed` when the tokens are the argument of MIN or MAX.
  std::string range(std::size_t begin, std::size_t end, bool keyed) const;
  // The end of the arithmetic expression starting at item k (k itself when there is none).
  std::size_t arithmeticEnd(const std::vector<Item>& its, std::size_t k) const;
  std::string arithmetic(const std::vector<Item>& its, std::size_t begin, std::size_t end) const;

  const Tokens& t_;
  const Dialect& d_;
  std::vector<std::size_t> match_;    // for "(": index of its ")"
  std::vector<std::size_t> caseEnd_;  // for "case": index of its "end"
  // The declared types of the columns of the tables the statement names, by lower-case name
  // (Unknown where two of them differ, or the name is also an alias); empty when the translation
  // reads no schema.
  std::unordered_map<std::string, ValueType> columns_;
  // The token ranges of the GROUP BY keys of the selects written so far (checkGrouping notes
  // them before the select's list is written).
  mutable std::vector<std::pair<std::size_t, std::size_t>> groupKeys_;
};

// Whether a word is a keyword (never a column or function name in the library's SQL).
bool isKeyword(const Token& t);

// The names the columns of the select at x.tokens()[begin] get on the embedded engine: an alias,
// a column's name as written, "*" for a star, an expression's text. The server gives names in
// lower case; its cursor takes these instead.
std::vector<std::string> outputNames(const ExprTranslator& x, std::size_t begin, std::size_t end);

// What the server notes on a table or view it creates: the name and its columns' names as the
// definition wrote them, one a line (empty when nothing differs from the server's lower case).
std::string writtenNames(const std::string& name, const std::vector<std::string>& columns);

}  // namespace quillon::sql
