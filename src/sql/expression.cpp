#include "sql/expression.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "sql/sql_error.h"
#include "sql/sql_text.h"
#include "sql/token_edit.h"
#include "sql/type_name.h"

namespace quillon::sql {

void unsupported(const std::string& construct) {
  throw SqlError::unsupported(construct);
}

namespace {

constexpr std::array<std::string_view, 14> kHints{
    "nolock",        "rowlock",      "updlock",        "holdlock", "readpast",
    "tablock",       "tablockx",     "xlock",          "paglock",  "readuncommitted",
    "readcommitted", "serializable", "repeatableread", "nowait"};

constexpr std::array<std::string_view, 18> kTextFunctions{
    "left",  "right",   "substring", "ltrim",     "rtrim", "upper",
    "lower", "replace", "space",     "replicate", "str",   "char",
    "nchar", "reverse", "stuff",     "quotename", "newid", "datename"};

constexpr std::array<std::string_view, 20> kNumberFunctions{
    "round", "abs",  "floor",     "ceiling",  "ceil",      "count",         "sum",
    "avg",   "len",  "charindex", "datediff", "datepart",  "year",          "month",
    "day",   "sign", "power",     "sqrt",     "object_id", "objectproperty"};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& set, std::string_view lowerWord) {
  for (std::string_view s : set) {
    if (lowerWord == s) return true;
  }
  return false;
}

template <std::size_t N>
bool containsWord(const std::array<std::string_view, N>& set, const Token& t) {
  if (t.kind != TokenKind::Word) return false;
  for (std::string_view s : set) {
    if (t.isWord(s)) return true;
  }
  return false;
}

bool endsSelectList(const Token& w);

bool nameToken(const Token& t) {
  return t.kind == TokenKind::Name || (t.kind == TokenKind::Word && !t.keyword);
}

// The declared types of the columns of the tables a statement names after FROM, JOIN, UPDATE and
// INTO (and after the commas of a FROM list). A name that two of them type differently, or that
// a sub-select gives as an alias (a column of a derived table may bear a table column's name),
// has no known type; an alias of the outer list names only a column of the result.
std::unordered_map<std::string, ValueType> statementColumns(const Tokens& t, SchemaScope& scope) {
  std::unordered_map<std::string, ValueType> out;
  std::vector<std::string> aliases;
  bool inFrom = false;
  int depth = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const Token& x = t[i];
    if (x.isOp("(")) ++depth;
    if (x.isOp(")")) --depth;
    if (x.kind == TokenKind::Word && x.keyword) {
      if (x.isWord("from")) {
        inFrom = true;
      } else if (!x.isWord("join") && !x.isWord("inner") && !x.isWord("left") &&
                 !x.isWord("right") && !x.isWord("outer") && !x.isWord("cross") &&
                 !x.isWord("full") && !x.isWord("as")) {
        inFrom = false;
      }
    }
    if (!nameToken(x) || i == 0) continue;
    const Token& before = t[i - 1];
    if (before.isWord("as") ||
        ((nameToken(before) || before.kind == TokenKind::Number ||
          before.kind == TokenKind::String || before.isOp(")") || before.isWord("end")) &&
         !(i + 1 < t.size() && (t[i + 1].isOp("(") || t[i + 1].isOp("."))))) {
      if (depth > 0) aliases.push_back(asciiLower(x.text));
      continue;
    }
    const bool tablePlace = before.isWord("from") || before.isWord("join") ||
                            before.isWord("update") || before.isWord("into") ||
                            (inFrom && before.isOp(","));
    if (!tablePlace) continue;
    // "dbo.t": the table is the last part.
    std::size_t last = i;
    while (last + 2 < t.size() && t[last + 1].isOp(".") && nameToken(t[last + 2])) last += 2;
    const SchemaTypes::Table columns = scope.table(asciiLower(t[last].text));
    if (columns == nullptr) continue;
    for (const auto& [name, type] : *columns) {
      const auto [it, added] = out.emplace(name, type);
      if (!added && it->second != type) it->second = ValueType::Unknown;
    }
  }
  if (out.empty()) return out;
  for (const std::string& a : aliases) {
    if (auto it = out.find(a); it != out.end()) it->second = ValueType::Unknown;
  }
  return out;
}

}  // namespace

bool isKeyword(const Token& t) {
  return t.kind == TokenKind::Word && t.keyword;
}

ExprTranslator::ExprTranslator(const Tokens& tokens, const Dialect& dialect)
    : t_(tokens), d_(dialect), match_(tokens.size(), 0), caseEnd_(tokens.size(), 0) {
  std::vector<std::size_t> parens;
  std::vector<std::size_t> cases;
  for (std::size_t i = 0; i < t_.size(); ++i) {
    if (t_[i].isOp("(")) {
      parens.push_back(i);
      if (parens.size() + cases.size() > static_cast<std::size_t>(kMaxNesting)) {
        throw SqlError::nestedTooDeeply("parentheses and CASE");
      }
    } else if (t_[i].isOp(")")) {
      if (parens.empty()) {
        throw SqlError::syntax("Incorrect syntax near ')': unbalanced parentheses");
      }
      match_[parens.back()] = i;
      parens.pop_back();
    } else if (t_[i].isWord("case")) {
      cases.push_back(i);
      if (parens.size() + cases.size() > static_cast<std::size_t>(kMaxNesting)) {
        throw SqlError::nestedTooDeeply("parentheses and CASE");
      }
    } else if (t_[i].isWord("end") && !cases.empty()) {
      caseEnd_[cases.back()] = i;
      cases.pop_back();
    }
  }
  if (!parens.empty()) {
    throw SqlError::syntax("Incorrect syntax near '(': unbalanced parentheses");
  }
  if (!cases.empty()) {
    throw SqlError::syntax("Incorrect syntax near 'case': CASE without END");
  }
  if (SchemaScope* scope = SchemaScope::current(); scope != nullptr && scope->typed())
    columns_ = statementColumns(t_, *scope);
}

ValueType ExprTranslator::columnType(const Item& item) const {
  if (columns_.empty() || (item.kind != Item::Kind::Token && item.kind != Item::Kind::Path))
    return ValueType::Unknown;
  const Token& last = t_[item.end - 1];
  if (last.kind != TokenKind::Name && (last.kind != TokenKind::Word || last.keyword))
    return ValueType::Unknown;
  const auto it = columns_.find(asciiLower(last.text));
  return it == columns_.end() ? ValueType::Unknown : it->second;
}

std::string ExprTranslator::aliasText(const std::string& name) const {
  return d_.name(name);
}

std::vector<std::size_t> ExprTranslator::commas(std::size_t begin, std::size_t end) const {
  std::vector<std::size_t> out;
  for (std::size_t i = begin; i < end; ++i) {
    if (t_[i].isOp("(")) {
      i = match_[i];
    } else if (t_[i].isOp(",")) {
      out.push_back(i);
    }
  }
  return out;
}

std::vector<ExprTranslator::Item> ExprTranslator::items(std::size_t begin, std::size_t end) const {
  std::vector<Item> out;
  std::size_t i = begin;
  while (i < end) {
    const Token& t = t_[i];
    const bool nameLike = (t.kind == TokenKind::Word && !isKeyword(t)) || t.kind == TokenKind::Name;
    const bool callee = nameLike || t.isWord("left") || t.isWord("right");
    if (t.isOp("(")) {
      out.push_back({i, match_[i] + 1, Item::Kind::Group});
      i = match_[i] + 1;
    } else if (callee && i + 1 < end && t_[i + 1].isOp("(")) {
      out.push_back({i, match_[i + 1] + 1, Item::Kind::Call});
      i = match_[i + 1] + 1;
    } else if (t.isWord("case")) {
      out.push_back({i, caseEnd_[i] + 1, Item::Kind::Case});
      i = caseEnd_[i] + 1;
    } else if (nameLike && i + 2 < end + 1 && i + 1 < end && t_[i + 1].isOp(".")) {
      std::size_t j = i + 1;
      while (j + 1 < end && t_[j].isOp(".") &&
             (t_[j + 1].kind == TokenKind::Word || t_[j + 1].kind == TokenKind::Name ||
              t_[j + 1].isOp("*"))) {
        j += 2;
      }
      out.push_back({i, j, j == i + 1 ? Item::Kind::Token : Item::Kind::Path});
      i = j;
    } else {
      out.push_back({i, i + 1, Item::Kind::Token});
      ++i;
    }
  }
  return out;
}

bool ExprTranslator::isOperand(const Item& item) const {
  if (item.kind != Item::Kind::Token) return true;
  const Token& t = t_[item.begin];
  switch (t.kind) {
    case TokenKind::Number:
    case TokenKind::String:
    case TokenKind::Name:
    case TokenKind::Variable:
      return true;
    case TokenKind::Word:
      return !isKeyword(t) || t.isWord("null");
    default:
      return false;
  }
}

ExprTranslator::Flavour ExprTranslator::flavour(const std::vector<Item>& term) const {
  if (term.size() != 1) return Flavour::Number;  // a product or quotient
  const Item& item = term.front();
  const Token& first = t_[item.begin];
  if (item.kind == Item::Kind::Token) {
    if (first.kind == TokenKind::String) return Flavour::Text;
    if (first.kind == TokenKind::Number) return Flavour::Number;
    return Flavour::Unknown;
  }
  if (item.kind == Item::Kind::Group) {
    // A unary plus leaves the operand as it is: "(+ 'a')" is a text.
    const auto inner = items(item.begin + 1, item.end - 1);
    const std::size_t from = afterPlus(inner, 0, inner.size());
    if (from + 1 == inner.size()) return flavour(std::vector<Item>{inner[from]});
    return Flavour::Unknown;
  }
  if (item.kind != Item::Kind::Call) return Flavour::Unknown;
  const std::string name = asciiLower(first.text);
  if (contains(kTextFunctions, name)) return Flavour::Text;
  if (contains(kNumberFunctions, name)) return Flavour::Number;
  const std::size_t open = item.begin + 1;
  const std::size_t close = match_[open];
  if (name == "convert" || name == "cast") {
    std::size_t typeAt = open + 1;
    if (name == "cast") {
      for (std::size_t i = open + 1; i < close; ++i) {
        if (t_[i].isOp("(")) {
          i = match_[i];
        } else if (t_[i].isWord("as")) {
          typeAt = i + 1;
          break;
        }
      }
    }
    if (typeAt >= close) return Flavour::Unknown;
    std::size_t next = typeAt;
    const TypeName type = readTypeName(t_, typeAt, close, next);
    if (isCharacterType(type.base)) return Flavour::Text;
    if (!type.known || type.base.find("date") != std::string::npos || type.base == "time" ||
        type.base == "uniqueidentifier" || isBinaryType(type.base)) {
      return Flavour::Unknown;
    }
    return Flavour::Number;
  }
  if (name == "isnull" || name == "coalesce" || name == "ifnull") {
    // The flavour of the fallback literal tells what the column holds.
    Flavour f = Flavour::Unknown;
    std::size_t start = open + 1;
    auto cs = commas(open + 1, close);
    cs.push_back(close);
    for (std::size_t c : cs) {
      const auto arg = items(start, c);
      const Flavour af = arg.size() == 1 ? flavour(arg) : Flavour::Unknown;
      if (af != Flavour::Unknown) f = af;
      start = c + 1;
    }
    return f;
  }
  return Flavour::Unknown;
}

std::vector<std::pair<std::size_t, std::size_t>> ExprTranslator::caseResults(
    const Item& item) const {
  const std::size_t e = item.end - 1;
  const auto its = items(item.begin + 1, e);
  std::vector<std::pair<std::size_t, std::size_t>> results;
  for (std::size_t k = 0; k < its.size(); ++k) {
    const Token& w = t_[its[k].begin];
    if (its[k].kind != Item::Kind::Token || !(w.isWord("then") || w.isWord("else"))) continue;
    std::size_t m = k + 1;
    while (m < its.size() &&
           !(its[m].kind == Item::Kind::Token &&
             (t_[its[m].begin].isWord("when") || t_[its[m].begin].isWord("else"))))
      ++m;
    if (m > k + 1) results.emplace_back(its[k + 1].begin, m < its.size() ? its[m].begin : e);
  }
  return results;
}

std::optional<std::pair<std::size_t, std::size_t>> ExprTranslator::subSelectColumn(
    const Item& item) const {
  if (item.kind != Item::Kind::Group || item.end - item.begin <= 3 ||
      !t_[item.begin + 1].isWord("select"))
    return std::nullopt;
  const std::size_t from = item.begin + 2;
  const std::size_t close = item.end - 1;
  for (std::size_t i = from; i < close; ++i) {
    if (t_[i].isOp("(")) {
      i = match_[i];
    } else if (t_[i].isOp(",") || t_[i].isWord("top") || t_[i].isWord("distinct") ||
               t_[i].isWord("union") || t_[i].isWord("except") || t_[i].isWord("intersect")) {
      return std::nullopt;
    } else if (t_[i].kind == TokenKind::Word && endsSelectList(t_[i])) {
      return i > from ? std::optional(std::pair(from, i)) : std::nullopt;
    }
  }
  return std::pair(from, close);
}

bool ExprTranslator::holds(std::size_t begin, std::size_t end, Evident type, bool columns,
                           bool untyped) const {
  for (const Item& item : items(begin, end)) {
    const Token& first = t_[item.begin];
    if (columns &&
        (item.kind == Item::Kind::Path || (item.kind == Item::Kind::Token && nameToken(first)))) {
      const ValueType v = columnType(item);
      if (v == (type == Evident::Real ? ValueType::Real : ValueType::Bigint)) return true;
      if (untyped && v == ValueType::Unknown && !first.isWord("null")) return true;
    }
    if (item.kind == Item::Kind::Token) {
      // A literal with a decimal point or an exponent is a decimal or a float.
      if (type == Evident::Real && first.kind == TokenKind::Number &&
          first.text.find_first_of(".eE") != std::string::npos)
        return true;
    } else if (item.kind == Item::Kind::Group) {
      // A sub-select of one value has its column's type.
      if (item.end - item.begin > 2 && t_[item.begin + 1].isWord("select")) {
        const auto column = subSelectColumn(item);
        if (column && holds(column->first, column->second, type, columns, untyped)) return true;
        continue;
      }
      if (holds(item.begin + 1, item.end - 1, type, columns, untyped)) return true;
    } else if (item.kind == Item::Kind::Case) {
      for (const auto& [from, to] : caseResults(item)) {
        if (holds(from, to, type, columns, untyped)) return true;
      }
    } else if (item.kind == Item::Kind::Call) {
      const std::string name = asciiLower(first.text);
      const std::size_t open = item.begin + 1;
      const std::size_t close = match_[open];
      std::size_t typeAt = close;
      if (name == "convert") {
        typeAt = open + 1;
      } else if (name == "cast") {
        for (std::size_t i = open + 1; i < close; ++i) {
          if (t_[i].isOp("(")) {
            i = match_[i];
          } else if (t_[i].isWord("as")) {
            typeAt = i + 1;
            break;
          }
        }
      } else if (name == "coalesce" || name == "isnull" || name == "nullif" || name == "round" ||
                 name == "abs" || name == "min" || name == "max" || name == "sum" ||
                 name == "avg" || name == "floor" || name == "ceiling") {
        // ISNULL, NULLIF, ROUND, ABS and the aggregates have their first argument's type,
        // COALESCE its arguments' type.
        const auto cs = commas(open + 1, close);
        const std::size_t to = name == "coalesce" || cs.empty() ? close : cs.front();
        if (holds(open + 1, to, type, columns, untyped)) return true;
      }
      if (typeAt < close) {
        std::size_t next = typeAt;
        const std::string base = readTypeName(t_, typeAt, close, next).base;
        if (type == Evident::Bigint ? base == "bigint"
                                    : base == "decimal" || base == "numeric" || base == "float" ||
                                          base == "real" || base == "money" || base == "smallmoney")
          return true;
      }
    }
  }
  return false;
}

// A CASE or COALESCE whose results the engine keeps as each row gives them, with the type
// T-SQL's precedence gives it: a decimal or float among the results makes it a real, else a
// bigint among them a bigint.
std::string ExprTranslator::typedResults(
    const std::string& text,
    const std::vector<std::pair<std::size_t, std::size_t>>& results) const {
  for (const auto& [from, to] : results) {
    if (holds(from, to, Evident::Real)) return d_.real(text);
  }
  for (const auto& [from, to] : results) {
    if (holds(from, to, Evident::Bigint)) return d_.bigint(text);
  }
  return text;
}

namespace {

bool endsSelectList(const Token& w) {
  return w.isWord("from") || w.isWord("into") || w.isWord("where") || w.isWord("union") ||
         w.isWord("group") || w.isWord("order") || w.isWord("having") || w.isWord("except") ||
         w.isWord("intersect");
}

}  // namespace

// Where the writing of one token range stands.
struct ExprTranslator::RangeState {
  SqlText out;
  std::string pendingLimit;  // TOP's row count, written as LIMIT at the end
  // Whether the item before ends an operand: a "+" or "-" after it is binary, elsewhere a sign.
  bool prevOperand = false;
  bool inSelectList = false;
  bool atColumnStart = false;
  // The select groups, removes duplicates or is part of a UNION, EXCEPT or INTERSECT: its list's
  // text expressions are written case-blind, as GROUP BY's are (the server matches them).
  bool listKeyed = false;
  // In the keys of GROUP BY or ORDER BY (or the argument of MIN or MAX), and before the next one.
  bool inKeys = false;
  bool atKeyStart = false;
};

namespace {

bool endsKeys(const Token& w) {
  return w.isWord("having") || w.isWord("order") || w.isWord("union") || w.isWord("except") ||
         w.isWord("intersect") || w.isWord("option") || w.isWord("for") || w.isWord("offset");
}

}  // namespace

std::string ExprTranslator::range(std::size_t begin, std::size_t end) const {
  return range(begin, end, false);
}

std::string ExprTranslator::range(std::size_t begin, std::size_t end, bool keyed) const {
  const auto its = items(begin, end);
  RangeState st;
  st.inKeys = keyed;
  st.atKeyStart = keyed;
  for (std::size_t k = 0; k < its.size(); ++k) {
    // Whether item k starts a column of a select list or a key of GROUP BY, ORDER BY, MIN or
    // MAX: there a text expression groups, sorts and removes duplicates without regard to case.
    const Token& head = t_[its[k].begin];
    const bool word = its[k].kind == Item::Kind::Token;
    const bool comma = word && head.isOp(",");
    bool listed = false;
    if (comma) {
      st.atKeyStart = st.inKeys;
    } else if (word && st.inKeys && head.kind == TokenKind::Word && endsKeys(head)) {
      st.inKeys = false;
      st.atKeyStart = false;
    } else if (!(word && st.atKeyStart && (head.isWord("distinct") || head.isWord("all")))) {
      listed =
          (st.inKeys && st.atKeyStart) || (st.inSelectList && st.atColumnStart && st.listKeyed);
      st.atKeyStart = false;
    }
    if (namedColumn(its, k, st)) continue;
    // Arithmetic: signs bind to the operand after them, then * / %, then + - & | ^ from left to
    // right, as on the server.
    if (isOperand(its[k]) || (!st.prevOperand && isSign(its, k))) {
      const std::size_t e = arithmeticEnd(its, k);
      // Texts compare without regard to case: a column by its definition, a text expression by
      // what the dialect adds to it; so do they group and sort.
      const std::size_t operandEnd = e == k && isOperand(its[k]) ? k + 1 : e;
      Textual text = operandEnd > k ? comparedText(its, k, operandEnd) : Textual::No;
      // An expression written as a text key of GROUP BY is written as the key is, also inside a
      // larger one, so that the server sees the grouped expression (upper(ltrim(e)) … group by
      // ltrim(e)).
      if (text == Textual::No && operandEnd > k &&
          isGroupKey(its[k].begin, its[operandEnd - 1].end))
        text = operandText(its, k, operandEnd);
      if (text == Textual::No && listed && operandEnd > k && wholeKey(its, operandEnd)) {
        text = operandText(its, k, operandEnd);
        // A text literal of a list that removes duplicates or groups is one of its texts:
        // "select 'A' union select 'a'" gives one row.
        if (operandEnd == k + 1 && st.inSelectList && its[k].kind == Item::Kind::Token &&
            head.kind == TokenKind::String)
          text = Textual::Evident;
      }
      if (text != Textual::No) {
        st.out.add(
            d_.caseBlind(operandEnd > k + 1 ? arithmetic(its, k, operandEnd) : itemText(its[k]),
                         text == Textual::Evident));
        k = operandEnd - 1;
        st.prevOperand = true;
        continue;
      }
      if (e > k + 1) {
        st.out.add(arithmetic(its, k, e));
        k = e - 1;
        st.prevOperand = true;
        continue;
      }
    }
    if (its[k].kind == Item::Kind::Token && t_[its[k].begin].isWord("select")) {
      selectHead(its, k, st);
      continue;
    }
    writeItem(its, k, st);
    st.prevOperand = isOperand(its[k]);
    if (word && head.isWord("by") && k > 0 && its[k - 1].kind == Item::Kind::Token &&
        (t_[its[k - 1].begin].isWord("group") || t_[its[k - 1].begin].isWord("order"))) {
      st.inKeys = true;
      st.atKeyStart = true;
    }
  }
  if (!st.pendingLimit.empty()) {
    st.out.add("LIMIT");
    st.out.add(st.pendingLimit);
  }
  return st.out.take();
}

// "select name = expression", the server's other way of naming a column, written with AS. Keeps
// track of where the select list's columns start; true when it wrote item k and the expression.
bool ExprTranslator::namedColumn(const std::vector<Item>& its, std::size_t& k,
                                 RangeState& st) const {
  const Item& item = its[k];
  const Token& t = t_[item.begin];
  if (st.inSelectList && item.kind == Item::Kind::Token) {
    if (t.isOp(",")) {
      st.atColumnStart = true;
    } else if (endsSelectList(t)) {
      st.inSelectList = false;
    }
  }
  if (!st.inSelectList || !st.atColumnStart || t.isOp(",")) return false;
  st.atColumnStart = false;
  const bool aliasLike =
      item.kind == Item::Kind::Token && (t.kind == TokenKind::String || t.kind == TokenKind::Name ||
                                         (t.kind == TokenKind::Word && !isKeyword(t)));
  if (!aliasLike || k + 2 >= its.size() || its[k + 1].kind != Item::Kind::Token ||
      !t_[its[k + 1].begin].isOp("=")) {
    return false;
  }
  std::size_t e = k + 2;
  while (e < its.size() && !(its[e].kind == Item::Kind::Token &&
                             (t_[its[e].begin].isOp(",") || endsSelectList(t_[its[e].begin])))) {
    ++e;
  }
  if (e == k + 2) unsupported("column alias '" + t.text + "' without an expression");
  st.out.add(range(its[k + 2].begin, its[e - 1].end));
  st.out.add("AS");
  st.out.add(aliasText(t.text));
  k = e - 1;
  st.prevOperand = true;
  return true;
}

// SELECT with DISTINCT or ALL and TOP n [PERCENT]; the row count becomes the range's LIMIT.
void ExprTranslator::selectHead(const std::vector<Item>& its, std::size_t& k,
                                RangeState& st) const {
  st.out.add(t_[its[k].begin].text);
  std::size_t m = k + 1;
  st.listKeyed = false;
  while (m < its.size() &&
         (t_[its[m].begin].isWord("distinct") || t_[its[m].begin].isWord("all"))) {
    st.listKeyed = st.listKeyed || t_[its[m].begin].isWord("distinct");
    st.out.add(t_[its[m].begin].text);
    ++m;
  }
  for (std::size_t q = 0; q < its.size() && !st.listKeyed; ++q) {
    const Token& w = t_[its[q].begin];
    st.listKeyed =
        its[q].kind == Item::Kind::Token && ((q > k && w.isWord("group")) || w.isWord("union") ||
                                             w.isWord("except") || w.isWord("intersect"));
  }
  if (m < its.size() && t_[its[m].begin].isWord("top")) {
    if (m + 1 >= its.size()) unsupported("TOP without a row count");
    const Item& n = its[m + 1];
    std::string count =
        n.kind == Item::Kind::Group ? range(n.begin + 1, n.end - 1) : tokenText(t_[n.begin]);
    m += 2;
    if (m < its.size() && t_[its[m].begin].isWord("percent")) {
      if (count != "100") unsupported("TOP … PERCENT");
      count.clear();
      ++m;
    }
    if (m < its.size() && t_[its[m].begin].isWord("with")) unsupported("TOP … WITH TIES");
    if (!st.pendingLimit.empty()) unsupported("TOP in two selects of one UNION");
    st.pendingLimit = count;
  }
  checkGrouping(its, m);
  k = m - 1;
  st.inSelectList = true;
  st.atColumnStart = true;
  st.prevOperand = false;
}

// A grouped select names in its list and in HAVING only expressions it groups by, columns it
// groups by and aggregates: the embedded engine would give a value of any row of the group, the
// server refuses with its own text. An expression equal to one of GROUP BY passes whole; else each
// column it holds outside aggregates, sub-selects, type names and date parts has to be grouped by
// its name. An alias never names a column there; a column of another table than the select's own
// (an outer reference of a correlated sub-select) is one value for the group.
void ExprTranslator::checkGrouping(const std::vector<Item>& its, std::size_t listBegin) const {
  const auto word = [&](std::size_t k, std::string_view w) {
    return k < its.size() && its[k].kind == Item::Kind::Token && t_[its[k].begin].isWord(w);
  };
  const auto ends = [&](std::size_t k) {
    return its[k].kind == Item::Kind::Token && endsSelectList(t_[its[k].begin]);
  };
  const auto clauseEnds = [&](std::size_t k) {
    return word(k, "having") || word(k, "order") || word(k, "union") || word(k, "except") ||
           word(k, "intersect") || word(k, "option") || word(k, "for");
  };
  const auto comma = [&](std::size_t k) {
    return its[k].kind == Item::Kind::Token && t_[its[k].begin].isOp(",");
  };
  std::size_t listEnd = listBegin;
  while (listEnd < its.size() && !ends(listEnd)) ++listEnd;
  std::size_t g = listEnd;
  while (g < its.size() && !word(g, "group") && !word(g, "union") && !word(g, "except") &&
         !word(g, "intersect") && !word(g, "select"))
    ++g;
  if (!word(g, "group") || !word(g + 1, "by")) return;

  Grouping grouping;
  // The select's own tables and their aliases: the names between FROM and GROUP BY.
  for (std::size_t k = listEnd; k < g; ++k) {
    if (its[k].kind != Item::Kind::Token && its[k].kind != Item::Kind::Path) continue;
    const Token& last = t_[its[k].end - 1];
    if (last.kind == TokenKind::Name || (last.kind == TokenKind::Word && !last.keyword))
      grouping.tables.push_back(asciiLower(last.text));
  }
  std::size_t k = g + 2;
  std::size_t start = k;
  for (; k <= its.size(); ++k) {
    if (k < its.size() && !comma(k) && !clauseEnds(k)) continue;
    if (k > start) {
      grouping.keys.emplace_back(its[start].begin, its[k - 1].end);
      groupKeys_.push_back(grouping.keys.back());
      if (k == start + 1) {
        const Token& last = t_[its[start].end - 1];
        if ((its[start].kind == Item::Kind::Token || its[start].kind == Item::Kind::Path) &&
            (last.kind == TokenKind::Name || (last.kind == TokenKind::Word && !last.keyword)))
          grouping.names.push_back(asciiLower(last.text));
      }
    }
    start = k + 1;
    if (k == its.size() || clauseEnds(k)) break;
  }

  // Each column of the list: its expression, then AS alias or an alias; "name = expr" names it
  // before.
  const auto isAlias = [&](std::size_t a) {
    const Token& t = t_[its[a].begin];
    return its[a].kind == Item::Kind::Token &&
           (t.kind == TokenKind::Name || t.kind == TokenKind::String ||
            (t.kind == TokenKind::Word && !t.keyword));
  };
  start = listBegin;
  for (std::size_t c = listBegin; c <= listEnd; ++c) {
    if (c < listEnd && !comma(c)) continue;
    std::size_t first = start;
    std::size_t last = c;  // one past
    start = c + 1;
    if (last - first >= 3 && its[first + 1].kind == Item::Kind::Token &&
        t_[its[first + 1].begin].isOp("=")) {
      first += 2;
    } else if (last - first >= 3 && word(last - 2, "as")) {
      last -= 2;
    } else if (last - first >= 2 && isAlias(last - 1) &&
               !(its[last - 2].kind == Item::Kind::Token &&
                 t_[its[last - 2].begin].kind == TokenKind::Operator)) {
      last -= 1;
    }
    if (last > first) checkGrouped(its[first].begin, its[last - 1].end, grouping, "select list");
  }
  // HAVING: a condition of aggregates and grouped expressions.
  if (word(k, "having")) {
    std::size_t h = k + 1;
    while (h < its.size() && !word(h, "order") && !word(h, "union") && !word(h, "except") &&
           !word(h, "intersect") && !word(h, "option"))
      ++h;
    if (h > k + 1) checkGrouped(its[k + 1].begin, its[h - 1].end, grouping, "HAVING clause");
  }
}

void ExprTranslator::checkGrouped(std::size_t begin, std::size_t end, const Grouping& grouping,
                                  std::string_view clause) const {
  const auto sameTokens = [&](std::size_t at, std::pair<std::size_t, std::size_t> key) {
    const std::size_t n = key.second - key.first;
    if (at + n > end) return false;
    for (std::size_t i = 0; i < n; ++i) {
      const Token& a = t_[at + i];
      const Token& b = t_[key.first + i];
      if (a.kind != b.kind) return false;
      const bool folded = a.kind == TokenKind::Word || a.kind == TokenKind::Name;
      if (folded ? asciiLower(a.text) != asciiLower(b.text) : a.text != b.text) return false;
    }
    return true;
  };
  // An operator that binds tighter than the key's own would take part of it.
  const auto binds = [&](std::size_t at) {
    const Token& t = t_[at];
    return t.isOp("*") || t.isOp("/") || t.isOp("%") || t.isOp(".") || t.isOp("(");
  };
  // The longest key written at `at`: "b + a" is grouped by the key "b + a" where "b" is a key too.
  const auto matchedKey = [&](std::size_t at) -> std::size_t {
    std::size_t longest = 0;
    for (const auto& key : grouping.keys) {
      const std::size_t n = key.second - key.first;
      if (n <= longest || !sameTokens(at, key)) continue;
      if (n > 1 && ((at > begin && binds(at - 1)) || (at + n < end && binds(at + n)))) continue;
      longest = n;
    }
    return longest;
  };
  // The arguments of a call or group at `open`, each checked as an expression of its own.
  const auto arguments = [&](std::size_t open, std::size_t skipFirst) {
    const std::size_t close = match_[open];
    std::size_t from = open + 1;
    std::size_t index = 0;
    auto cs = commas(open + 1, close);
    cs.push_back(close);
    for (std::size_t c : cs) {
      if (index++ >= skipFirst && c > from) checkGrouped(from, c, grouping, clause);
      from = c + 1;
    }
    return close;
  };
  for (std::size_t i = begin; i < end; ++i) {
    if (const std::size_t n = matchedKey(i)) {
      i += n - 1;
      continue;
    }
    const Token& t = t_[i];
    if (t.isOp("(")) {
      // A sub-select has columns of its own.
      if (i + 1 < end && t_[i + 1].isWord("select")) {
        i = match_[i];
        continue;
      }
      i = arguments(i, 0);
      continue;
    }
    const bool callee = i + 1 < end && t_[i + 1].isOp("(") &&
                        (t.kind == TokenKind::Word || t.kind == TokenKind::Name);
    if (callee) {
      const std::string name = asciiLower(t.text);
      const std::size_t open = i + 1;
      if (contains(kAggregates, name) || t_[open + 1].isWord("select")) {
        i = match_[open];
      } else if (name == "cast") {
        // CAST(x AS type): the expression before AS.
        std::size_t as = open + 1;
        while (as < match_[open] && !t_[as].isWord("as"))
          as = t_[as].isOp("(") ? match_[as] + 1 : as + 1;
        if (as > open + 1) checkGrouped(open + 1, as, grouping, clause);
        i = match_[open];
      } else if (name == "convert" || name == "try_convert" || name == "dateadd" ||
                 name == "datediff" || name == "datepart" || name == "datename") {
        // A type name or a date part first.
        i = arguments(open, 1);
      } else {
        i = arguments(open, 0);
      }
      continue;
    }
    const bool nameLike = t.kind == TokenKind::Name || (t.kind == TokenKind::Word && !t.keyword);
    if (!nameLike) continue;
    // A column, maybe with its table: the last part of a path names it.
    std::size_t last = i;
    while (last + 2 < end && t_[last + 1].isOp(".") &&
           (t_[last + 2].kind == TokenKind::Name || t_[last + 2].kind == TokenKind::Word))
      last += 2;
    const std::string column = asciiLower(t_[last].text);
    const bool outer =
        last > i && std::find(grouping.tables.begin(), grouping.tables.end(),
                              asciiLower(t_[last - 2].text)) == grouping.tables.end();
    if (!outer &&
        std::find(grouping.names.begin(), grouping.names.end(), column) == grouping.names.end()) {
      std::string shown;
      for (std::size_t p = i; p <= last; ++p) shown += t_[p].text;
      throw SqlError::syntax("Column '" + shown + "' is invalid in the " + std::string(clause) +
                             " because it is not contained in either an aggregate function or "
                             "the GROUP BY clause.");
    }
    i = last;
  }
}

bool ExprTranslator::isGroupKey(std::size_t begin, std::size_t end) const {
  for (const auto& [from, to] : groupKeys_) {
    if (to - from != end - begin) continue;
    bool same = true;
    for (std::size_t i = 0; same && i < end - begin; ++i) {
      const Token& a = t_[begin + i];
      const Token& b = t_[from + i];
      const bool folded = a.kind == TokenKind::Word || a.kind == TokenKind::Name;
      same = a.kind == b.kind &&
             (folded ? asciiLower(a.text) == asciiLower(b.text) : a.text == b.text);
    }
    if (same) return true;
  }
  return false;
}

// Item k as it stands outside arithmetic and select heads; may consume the item after it.
void ExprTranslator::writeItem(const std::vector<Item>& its, std::size_t& k, RangeState& st) const {
  const Item& item = its[k];
  switch (item.kind) {
    case Item::Kind::Group:
      // Table hints written without WITH: "from t (nolock)".
      if (item.end - item.begin == 3 && t_[item.begin + 1].kind == TokenKind::Word &&
          containsWord(kHints, t_[item.begin + 1])) {
        return;
      }
      st.out.add("(");
      st.out.add(range(item.begin + 1, item.end - 1));
      st.out.add(")");
      return;
    case Item::Kind::Call:
      st.out.add(call(item));
      return;
    case Item::Kind::Case:
      st.out.add(caseText(item));
      return;
    case Item::Kind::Path:
      st.out.add(itemText(item));
      return;
    case Item::Kind::Token:
      writeToken(its, k, st);
      return;
  }
}

// A single token: table hints after WITH, COLLATE, LIKE patterns, the comparison operators the
// engine lacks, and the refusals of what it cannot do.
void ExprTranslator::writeToken(const std::vector<Item>& its, std::size_t& k,
                                RangeState& st) const {
  const Token& t = t_[its[k].begin];
  const Token* next = k + 1 < its.size() ? &t_[its[k + 1].begin] : nullptr;
  if ((t.isWord("union") || t.isWord("except") || t.isWord("intersect")) &&
      !st.pendingLimit.empty()) {
    unsupported("TOP in a select that is part of a UNION");
  }
  if (t.isWord("with") && next != nullptr && its[k + 1].kind == Item::Kind::Group) {
    const Token& inner = t_[its[k + 1].begin + 1];
    if (inner.kind == TokenKind::Word && containsWord(kHints, inner)) {
      ++k;  // table hints
      return;
    }
  }
  if (t.isWord("collate") && next != nullptr) {
    const std::string coll = asciiLower(next->text);
    const bool ci = coll.find("_ci") != std::string::npos || coll == "nocase";
    st.out.add(d_.collate(ci));
    ++k;
    return;
  }
  if (t.isWord("like") && next != nullptr && next->kind == TokenKind::String &&
      next->text.find('[') != std::string::npos) {
    unsupported("LIKE pattern with [ ] character classes: '" + next->text + "'");
  }
  if (t.isWord("like")) {
    // LIKE ignores case on both engines; a literal pattern without ESCAPE may have to be given
    // to the engine differently.
    st.out.add(d_.like(t));
    const Token* after = k + 2 < its.size() ? &t_[its[k + 2].begin] : nullptr;
    if (next != nullptr && next->kind == TokenKind::String &&
        (after == nullptr || !after->isWord("escape"))) {
      if (auto pattern = d_.likePattern(next->text)) {
        st.out.add(*pattern);
        ++k;
      }
    }
    return;
  }
  if (next != nullptr && next->offset == t.offset + 1 &&
      ((t.isOp("*") && next->isOp("=")) || (t.isOp("=") && next->isOp("*")))) {
    unsupported("old-style outer join operator *= / =*");
  }
  if (t.isOp("!<") || t.isOp("!>")) {
    st.out.add(t.isOp("!<") ? ">=" : "<=");
  } else {
    st.out.add(tokenText(t));
  }
}

namespace {

// The one-character operator of a Token, or 0.
char opChar(const Token& t) {
  return t.kind == TokenKind::Operator && t.text.size() == 1 ? t.text[0] : '\0';
}

bool isSignChar(char c) {
  return c == '+' || c == '-' || c == '~';
}

bool isMultiplicative(char c) {
  return c == '*' || c == '/' || c == '%';
}

bool isAdditive(char c) {
  return c == '+' || c == '-' || c == '&' || c == '|' || c == '^';
}

}  // namespace

namespace {

bool isComparison(const Token& t) {
  return t.isOp("=") || t.isOp("<>") || t.isOp("!=") || t.isOp("<") || t.isOp(">") ||
         t.isOp("<=") || t.isOp(">=") || t.isOp("!<") || t.isOp("!>");
}

}  // namespace

ExprTranslator::Textual ExprTranslator::textual(const Item& item) const {
  const Token& first = t_[item.begin];
  if (item.kind == Item::Kind::Token && first.kind == TokenKind::String) return Textual::No;
  const Flavour f = flavour(std::vector<Item>{item});
  if (f == Flavour::Text) return Textual::Evident;
  if (f == Flavour::Number) return Textual::No;
  const auto anyText = [&](const std::vector<std::pair<std::size_t, std::size_t>>& results) {
    for (auto [from, to] : results) {
      while (from < to && t_[from].isOp("+")) ++from;  // a unary plus changes nothing
      const auto inner = items(from, to);
      if (inner.empty()) continue;
      if ((inner.size() == 1 && inner[0].kind == Item::Kind::Token &&
           t_[inner[0].begin].kind == TokenKind::String) ||
          operandText(inner, 0, inner.size()) == Textual::Evident)
        return true;
    }
    return false;
  };
  if (item.kind == Item::Kind::Group) {
    const auto inner = items(item.begin + 1, item.end - 1);
    return inner.empty() ? Textual::No : operandText(inner, 0, inner.size());
  }
  if (item.kind == Item::Kind::Case) {
    return anyText(caseResults(item)) ? Textual::Evident : Textual::Maybe;
  }
  if (item.kind == Item::Kind::Call) {
    const std::string name = asciiLower(first.text);
    if (name != "nullif" && name != "coalesce" && name != "isnull" && name != "ifnull")
      return Textual::No;
    const std::size_t open = item.begin + 1;
    const std::size_t close = match_[open];
    std::vector<std::pair<std::size_t, std::size_t>> args;
    std::size_t start = open + 1;
    for (std::size_t c : commas(open + 1, close)) {
      args.emplace_back(start, c);
      start = c + 1;
    }
    args.emplace_back(start, close);
    if (name == "nullif") args.resize(1);  // NULLIF gives its first argument
    return anyText(args) ? Textual::Evident : Textual::Maybe;
  }
  return Textual::No;
}

ExprTranslator::Textual ExprTranslator::comparedText(const std::vector<Item>& its,
                                                     std::size_t begin, std::size_t end) const {
  const auto tokenAt = [&](std::size_t k) -> const Token* {
    return k < its.size() && its[k].kind == Item::Kind::Token ? &t_[its[k].begin] : nullptr;
  };
  const Token* before = begin > 0 ? tokenAt(begin - 1) : nullptr;
  const Token* after = tokenAt(end);
  if (after != nullptr && after->isWord("not")) after = tokenAt(end + 1);
  // The bounds of BETWEEN: an AND is BETWEEN's when the keyword before it is BETWEEN.
  bool bound = before != nullptr && before->isWord("between");
  if (before != nullptr && before->isWord("and")) {
    for (std::size_t q = begin - 1; q > 0; --q) {
      const Token* t = tokenAt(q - 1);
      if (t == nullptr || t->kind != TokenKind::Word || !t->keyword || t->isWord("null")) continue;
      bound = t->isWord("between");
      break;
    }
  }
  const bool compared = bound || (before != nullptr && isComparison(*before)) ||
                        (after != nullptr &&
                         (isComparison(*after) || after->isWord("in") || after->isWord("between")));
  if (!compared) return Textual::No;
  return operandText(its, begin, end);
}

bool ExprTranslator::wholeKey(const std::vector<Item>& its, std::size_t end) const {
  if (end >= its.size()) return true;
  const Token& next = t_[its[end].begin];
  // A COLLATE of its own decides; an operator after it makes it part of a larger expression.
  if (its[end].kind != Item::Kind::Token || next.isWord("collate")) return false;
  return next.kind != TokenKind::Operator || next.isOp(",");
}

ExprTranslator::Textual ExprTranslator::operandText(const std::vector<Item>& its, std::size_t begin,
                                                    std::size_t end) const {
  const auto tokenAt = [&](std::size_t k) -> const Token* {
    return k < its.size() && its[k].kind == Item::Kind::Token ? &t_[its[k].begin] : nullptr;
  };
  // A unary plus leaves a text as it is ("+ (e + 'x')", "+ + 'a'"); a literal under one is an
  // expression of its own.
  const std::size_t from = afterPlus(its, begin, end);
  if (from > begin && from + 1 == end) {
    const Item& item = its[from];
    if (item.kind == Item::Kind::Token && t_[item.begin].kind == TokenKind::String)
      return Textual::Evident;
    begin = from;
  }
  if (end == begin + 1) {
    // A new identifier is no text T-SQL compares as one.
    const Item& item = its[begin];
    if (item.kind == Item::Kind::Call && t_[item.begin].isWord("newid")) return Textual::No;
    return textual(item);
  }
  // A concatenation.
  bool plus = false;
  bool text = false;
  for (std::size_t k = begin; k < end; ++k) {
    const Token* t = tokenAt(k);
    if (t != nullptr && t->isOp("+")) {
      plus = true;
    } else if (t == nullptr || t->kind != TokenKind::Operator) {
      text = text || flavour(std::vector<Item>{its[k]}) == Flavour::Text;
    }
  }
  return plus && text ? Textual::Evident : Textual::No;
}

std::size_t ExprTranslator::afterPlus(const std::vector<Item>& its, std::size_t begin,
                                      std::size_t end) const {
  while (begin + 1 < end && its[begin].kind == Item::Kind::Token && t_[its[begin].begin].isOp("+"))
    ++begin;
  return begin;
}

bool ExprTranslator::isSign(const std::vector<Item>& its, std::size_t k) const {
  return its[k].kind == Item::Kind::Token && isSignChar(opChar(t_[its[k].begin]));
}

std::size_t ExprTranslator::arithmeticEnd(const std::vector<Item>& its, std::size_t k) const {
  const auto factorEnd = [&](std::size_t p) -> std::size_t {
    while (p < its.size() && isSign(its, p)) ++p;
    return p < its.size() && isOperand(its[p]) ? p + 1 : std::string::npos;
  };
  std::size_t e = factorEnd(k);
  if (e == std::string::npos) return k;
  while (e < its.size() && its[e].kind == Item::Kind::Token) {
    const char c = opChar(t_[its[e].begin]);
    if (!isMultiplicative(c) && !isAdditive(c)) break;
    const std::size_t next = factorEnd(e + 1);
    if (next == std::string::npos) break;
    e = next;
  }
  return e;
}

// The items [begin, end) hold operands, signs and the operators * / % + - & | ^, as
// arithmeticEnd found them. The engine binds signs tightest and * / % before + - as the server
// does, so products and signs are written as they stand; what differs is "+" (concatenation or
// addition, decided per chain of + and - as the server decides on the types), "&" and "|" (which
// the engine binds below + and -, so each is parenthesised) and "^" (which the engine lacks).
std::string ExprTranslator::arithmetic(const std::vector<Item>& its, std::size_t begin,
                                       std::size_t end) const {
  struct Term {
    std::string sql;
    std::size_t operand = 0;  // the operand of a single unsigned or "+"-signed factor
    bool plain = false;       // such a factor: its flavour is its operand's
    bool compound = false;    // needs parentheses inside a concatenation or a call
  };
  std::size_t p = begin;
  const auto term = [&] {
    Term out;
    SqlText s;
    int factors = 0;
    bool negated = false;
    // The factor being written (its signs and operand), and the product, division or remainder
    // that takes the product so far as its left operand: the dialect writes those, as each
    // engine has its own way to fail a division by zero or an int beyond its range.
    char pending = 0;
    while (true) {
      SqlText f;
      while (isSign(its, p)) {
        const char c = opChar(t_[its[p].begin]);
        negated = negated || c != '+';
        // A unary plus leaves a number or a text as it is; the server has no such operator for
        // texts, so it is not written.
        if (c != '+') {
          f.add(t_[its[p].begin].text);
          out.compound = true;
        }
        ++p;
      }
      out.operand = p;
      f.add(itemText(its[p]));
      ++p;
      ++factors;
      if (pending != 0) {
        const std::string left = s.take();
        s = SqlText();
        s.add(pending == '*' ? d_.arithmetic('*', left, f.take())
                             : d_.divide(left, f.take(), pending == '%'));
        pending = 0;
      } else {
        s.add(f.take());
      }
      if (p >= end || !isMultiplicative(opChar(t_[its[p].begin]))) break;
      pending = opChar(t_[its[p].begin]);
      ++p;
    }
    out.plain = factors == 1 && !negated;
    out.compound = out.compound || factors > 1;
    out.sql = s.take();
    return out;
  };
  const auto paren = [](const Term& t) { return t.compound ? "(" + t.sql + ")" : t.sql; };
  const auto flavourOf = [&](const Term& t) {
    return t.plain ? flavour(std::vector<Item>{its[t.operand]}) : Flavour::Number;
  };

  // One chain of terms joined by + and -.
  std::vector<Term> chain;
  std::vector<char> ops;
  const auto closeChain = [&]() -> Term {
    if (chain.size() == 1) return chain.front();
    Term out;
    out.compound = true;
    bool hasPlus = false;
    bool hasMinus = false;
    for (char c : ops) (c == '+' ? hasPlus : hasMinus) = true;
    bool anyText = false;
    bool anyNumber = false;
    if (hasPlus) {
      for (const auto& t : chain) {
        const Flavour f = flavourOf(t);
        anyText = anyText || f == Flavour::Text;
        anyNumber = anyNumber || f == Flavour::Number;
      }
    }
    if (anyText) {
      if (hasMinus) unsupported("'-' in an expression that concatenates strings with '+'");
      out.sql = paren(chain[0]);
      for (std::size_t m = 1; m < chain.size(); ++m) out.sql += " || " + paren(chain[m]);
    } else if (!hasPlus || anyNumber) {
      out.sql = chain[0].sql;
      for (std::size_t m = 1; m < chain.size(); ++m)
        out.sql = d_.arithmetic(ops[m - 1], out.sql, chain[m].sql);
    } else {
      // Neither side is evidently text or a number: decided on the values at run time, the way
      // the server decides on the declared types.
      out.sql = paren(chain[0]);
      for (std::size_t m = 1; m < chain.size(); ++m) {
        const std::string add = d_.helper("add") + "(";
        out.sql = ops[m - 1] == '+' ? add + out.sql + ", " + paren(chain[m]) + ")"
                                    : d_.arithmetic('-', out.sql, paren(chain[m]));
      }
    }
    return out;
  };

  chain.push_back(term());
  while (p < end) {
    const char c = opChar(t_[its[p].begin]);
    ++p;
    Term next = term();
    if (c == '+' || c == '-') {
      ops.push_back(c);
      chain.push_back(std::move(next));
      continue;
    }
    Term left = closeChain();
    Term bits;
    if (c == '^') {
      bits.sql = d_.bitXor(left.sql, next.sql);
    } else {
      bits.sql = "(" + left.sql + " " + c + " " + next.sql + ")";
    }
    chain.assign(1, std::move(bits));
    ops.clear();
  }
  return closeChain().sql;
}

std::string ExprTranslator::itemText(const Item& item) const {
  switch (item.kind) {
    case Item::Kind::Group:
      return "(" + range(item.begin + 1, item.end - 1) + ")";
    case Item::Kind::Call:
      return call(item);
    case Item::Kind::Case:
      return caseText(item);
    case Item::Kind::Path: {
      std::string s;
      for (std::size_t i = item.begin; i < item.end; ++i)
        s += t_[i].isOp(".") ? "." : tokenText(t_[i]);
      return s;
    }
    case Item::Kind::Token:
      break;
  }
  return tokenText(t_[item.begin]);
}

// CASE … END. An engine that gives a CASE one type takes it from its results that are not bare
// literals; a text literal among numbers ("then '' … else fQuantity") is then no number it can
// read. As an engine that keeps each row's result as it is would give the texts, the other
// results are written as texts the way the dialect layer writes them.
std::string ExprTranslator::caseText(const Item& item) const {
  const std::size_t b = item.begin + 1;
  const std::size_t e = item.end - 1;
  const auto results = caseResults(item);  // token ranges of THEN and ELSE
  if (!d_.caseHasOneType()) return typedResults("CASE " + range(b, e) + " END", results);
  bool texts = false;
  bool others = false;
  for (const auto& [from, to] : results) {
    const bool literal = to == from + 1 && t_[from].kind == TokenKind::String;
    const bool null = to == from + 1 && t_[from].isWord("null");
    texts = texts || literal;
    others = others || (!literal && !null);
  }
  if (!texts || !others) return "CASE " + range(b, e) + " END";
  SqlText out;
  out.add("CASE");
  std::size_t at = b;
  for (const auto& [from, to] : results) {
    out.add(range(at, from));
    const bool bare =
        to == from + 1 && (t_[from].kind == TokenKind::String || t_[from].isWord("null"));
    // The texts compare without regard to case, as a text column of the CASE would.
    out.add(bare ? range(from, to)
                 : d_.caseBlind(d_.helper("convert_text") + "(" + range(from, to) + ", NULL, 0)",
                                true));
    at = to;
  }
  out.add(range(at, e));
  out.add("END");
  return out.take();
}

namespace {

// A call's arguments, each written for the engine only when the dialect asks for it.
class CallArgs final : public CallArguments {
 public:
  CallArgs(const ExprTranslator& x, std::vector<std::pair<std::size_t, std::size_t>> spans,
           std::size_t open, std::size_t close)
      : x_(x), spans_(std::move(spans)), open_(open), close_(close) {}
  std::size_t size() const override { return spans_.size(); }
  std::string at(std::size_t i) const override {
    return x_.range(spans_.at(i).first, spans_.at(i).second);
  }
  std::string all() const override { return x_.range(open_ + 1, close_); }

 private:
  const ExprTranslator& x_;
  std::vector<std::pair<std::size_t, std::size_t>> spans_;
  std::size_t open_;
  std::size_t close_;
};

// Arguments already written for the engine.
class WrittenArgs final : public CallArguments {
 public:
  explicit WrittenArgs(std::vector<std::string> args) : args_(std::move(args)) {}
  std::size_t size() const override { return args_.size(); }
  std::string at(std::size_t i) const override { return args_.at(i); }
  std::string all() const override {
    std::string s;
    for (const std::string& a : args_) s += (s.empty() ? "" : ", ") + a;
    return s;
  }

 private:
  std::vector<std::string> args_;
};

}  // namespace

std::string ExprTranslator::call(const Item& item) const {
  const Token& fn = t_[item.begin];
  const std::size_t open = item.begin + 1;
  const std::size_t close = item.end - 1;
  const std::string name = fn.kind == TokenKind::Word ? asciiLower(fn.text) : std::string();
  const auto args = [&] { return range(open + 1, close); };
  const auto argList = [&] {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    std::size_t start = open + 1;
    for (std::size_t c : commas(open + 1, close)) {
      out.emplace_back(start, c);
      start = c + 1;
    }
    if (start < close) out.emplace_back(start, close);
    return out;
  };

  // "from t (nolock)": a table hint, not a call.
  if (close == open + 2 && t_[open + 1].kind == TokenKind::Word &&
      containsWord(kHints, t_[open + 1])) {
    return tokenText(fn);
  }
  if (name == "isnull") {
    const auto cs = commas(open + 1, close);
    if (cs.size() != 1) unsupported("ISNULL with other than two arguments");
    return isnull(open, cs.front(), close);
  }
  if (name == "coalesce" && !d_.caseHasOneType()) {
    SqlText s;
    s.addCallee(tokenText(fn));
    s.add("(");
    s.add(args());
    s.add(")");
    return typedResults(s.take(), argList());
  }
  if (name == "nullif") {
    // NULLIF compares its arguments: texts without regard to case.
    std::vector<std::string> written;
    for (const auto& [from, to] : argList()) {
      const auto inner = items(from, to);
      Textual text = inner.empty() ? Textual::No : operandText(inner, 0, inner.size());
      if (inner.size() == 1 && inner[0].kind == Item::Kind::Token &&
          t_[inner[0].begin].kind == TokenKind::String)
        text = Textual::Evident;
      std::string arg = range(from, to);
      written.push_back(text == Textual::No ? arg : d_.caseBlind(arg, text == Textual::Evident));
    }
    const WrittenArgs a(written);
    if (auto engineCall = d_.call(name, a)) return *std::move(engineCall);
    return tokenText(fn) + "(" + a.all() + ")";
  }
  if (auto engineCall = d_.call(name, CallArgs(*this, argList(), open, close)))
    return *std::move(engineCall);
  if (name == "dateadd" || name == "datediff" || name == "datepart" || name == "datename") {
    const auto a = argList();
    if (a.empty() || a[0].second - a[0].first != 1)
      unsupported(asciiLower(fn.text) + " without a date part");
    std::string s = d_.dateFunction(name) + "(" + quoteLiteral(asciiLower(t_[a[0].first].text));
    for (std::size_t i = 1; i < a.size(); ++i) s += ", " + range(a[i].first, a[i].second);
    return s + ")";
  }
  if (name == "convert") {
    const auto a = argList();
    if (a.size() < 2 || a.size() > 3)
      unsupported("CONVERT with " + std::to_string(a.size()) + " arguments");
    return convertCall(a[0].first, a[0].second, range(a[1].first, a[1].second),
                       a.size() == 3 ? range(a[2].first, a[2].second) : "NULL");
  }
  if (name == "cast") {
    for (std::size_t i = open + 1; i < close; ++i) {
      if (t_[i].isOp("(")) {
        i = match_[i];
      } else if (t_[i].isWord("as")) {
        return convertCall(i + 1, close, range(open + 1, i), "NULL");
      }
    }
    unsupported("CAST without AS");
  }
  SqlText s;
  s.addCallee(tokenText(fn));
  s.add("(");
  // MIN, MAX and COUNT(DISTINCT …) of texts order and tell them apart without regard to case.
  s.add(name == "min" || name == "max" || name == "count" ? range(open + 1, close, true) : args());
  s.add(")");
  return s.take();
}

// ISNULL has its first argument's type: a decimal or float first argument makes an int second
// one a real; an int first argument takes a real second one cut to an int (isnull(a, 2.7) is 2
// when a is NULL, also where the real is a decimal column, a negated one, a CASE or a sub-select
// of one). A second argument whose type the translation does not know (a column of a table it
// read no types of: every column on the server) may be a real, and is cut too. Where the
// translation does not know the first argument's type, the engine's dialect keeps to it as far
// as the engine knows it.
std::string ExprTranslator::isnull(std::size_t open, std::size_t comma, std::size_t close) const {
  const std::string first = range(open + 1, comma);
  std::string second = range(comma + 1, close);
  const bool firstReal = holds(open + 1, comma, Evident::Real);
  const bool null = comma == open + 2 && t_[open + 1].isWord("null");
  const bool secondReal = holds(comma + 1, close, Evident::Real);
  // A text (a literal, a text function, a concatenation) is no real.
  const auto isText = [&](std::size_t from, std::size_t to) {
    const auto its = items(from, to);
    const std::size_t k = its.empty() ? 0 : afterPlus(its, 0, its.size());
    return !its.empty() && ((k + 1 == its.size() && its[k].kind == Item::Kind::Token &&
                             t_[its[k].begin].kind == TokenKind::String) ||
                            operandText(its, 0, its.size()) == Textual::Evident);
  };
  const bool secondMaybeReal = !secondReal && holds(comma + 1, close, Evident::Real, true, true) &&
                               !isText(open + 1, comma) && !isText(comma + 1, close);
  if (!firstReal && !null && (secondReal || secondMaybeReal)) {
    // A bigint first argument (a conversion to bigint) cuts the real to a bigint, unless it has
    // an operand that may be a real (a bigint times a decimal column is a decimal).
    const bool bigint = holds(open + 1, comma, Evident::Bigint) &&
                        !holds(open + 1, comma, Evident::Real, true, true);
    if (!bigint && !isInt(open + 1, comma)) return d_.isnullOfFirstType(first, second, secondReal);
    TypeName intType;
    intType.base = bigint ? "bigint" : "int";
    intType.known = true;
    second = d_.convert(intType, second, "NULL");
  }
  const WrittenArgs args({first, second});
  auto engineCall = d_.call("isnull", args);
  const std::string text = engineCall ? *std::move(engineCall) : "coalesce(" + args.all() + ")";
  if (firstReal) return d_.real(text);
  if (holds(open + 1, comma, Evident::Bigint)) return d_.bigint(text);
  return text;
}

std::string ExprTranslator::convertCall(std::size_t typeBegin, std::size_t typeEnd,
                                        const std::string& expr, const std::string& style) const {
  if (typeBegin >= typeEnd) unsupported("CONVERT without a type");
  std::size_t next = typeBegin;
  const TypeName type = readTypeName(t_, typeBegin, typeEnd, next);
  if (!type.known || next != typeEnd) unsupported("conversion to type " + type.text());
  return d_.convert(type, expr, style);
}

bool ExprTranslator::isInt(std::size_t begin, std::size_t end) const {
  const auto its = items(begin, end);
  bool operand = false;
  for (const Item& item : its) {
    const Token& first = t_[item.begin];
    switch (item.kind) {
      case Item::Kind::Token: {
        const char c = opChar(first);
        if (c != 0 && (isSignChar(c) || isMultiplicative(c) || isAdditive(c))) continue;
        if (first.kind == TokenKind::Number) {
          // A literal beyond the int range is a decimal in T-SQL.
          if (first.text.find_first_not_of("0123456789") != std::string::npos ||
              first.text.size() > 10 || (first.text.size() == 10 && first.text > "2147483647"))
            return false;
        } else if (columnType(item) != ValueType::Int) {
          return false;
        }
        break;
      }
      case Item::Kind::Path:
        if (columnType(item) != ValueType::Int) return false;
        break;
      case Item::Kind::Group: {
        std::size_t to = item.end - 1;
        std::size_t from = item.begin + 1;
        // A sub-select of one value: its one column.
        if (to > from && t_[from].isWord("select")) {
          ++from;
          for (std::size_t i = from; i < to; ++i) {
            if (t_[i].isOp("(")) {
              i = match_[i];
            } else if (t_[i].isOp(",") || t_[i].isWord("top") || t_[i].isWord("distinct")) {
              return false;
            } else if (t_[i].isWord("from")) {
              to = i;
              break;
            }
          }
        }
        if (!isInt(from, to)) return false;
        break;
      }
      case Item::Kind::Case: {
        bool any = false;
        for (const auto& [from, to] : caseResults(item)) {
          if (to == from + 1 && t_[from].isWord("null")) continue;
          if (!isInt(from, to)) return false;
          any = true;
        }
        if (!any) return false;
        break;
      }
      case Item::Kind::Call: {
        const std::string name = asciiLower(first.text);
        const std::size_t open = item.begin + 1;
        const std::size_t close = match_[open];
        const auto cs = commas(open + 1, close);
        const std::size_t firstEnd = cs.empty() ? close : cs.front();
        if (name == "count" || name == "len" || name == "charindex" || name == "datediff" ||
            name == "datepart" || name == "year" || name == "month" || name == "day") {
          break;
        }
        if (name == "isnull" || name == "nullif" || name == "abs" || name == "round" ||
            name == "floor" || name == "ceiling" || name == "sign" || name == "sum" ||
            name == "min" || name == "max" || name == "avg") {
          if (!isInt(open + 1, firstEnd)) return false;
          break;
        }
        if (name == "coalesce") {
          std::size_t from = open + 1;
          bool any = false;
          for (std::size_t c : cs) {
            if (!(c == from + 1 && t_[from].isWord("null"))) {
              if (!isInt(from, c)) return false;
              any = true;
            }
            from = c + 1;
          }
          if (!(close == from + 1 && t_[from].isWord("null"))) {
            if (!isInt(from, close)) return false;
            any = true;
          }
          if (!any) return false;
          break;
        }
        if (name == "convert" || name == "cast") {
          std::size_t typeAt = name == "convert" ? open + 1 : close;
          for (std::size_t i = open + 1; name == "cast" && i < close; ++i) {
            if (t_[i].isOp("(")) {
              i = match_[i];
            } else if (t_[i].isWord("as")) {
              typeAt = i + 1;
              break;
            }
          }
          if (typeAt >= close) return false;
          std::size_t next = typeAt;
          const std::string base = readTypeName(t_, typeAt, close, next).base;
          if (base != "int" && base != "smallint" && base != "tinyint") return false;
          break;
        }
        return false;
      }
    }
    operand = true;
  }
  return operand;
}

}  // namespace quillon::sql

namespace quillon::sql {

std::vector<std::string> outputNames(const ExprTranslator& x, std::size_t begin, std::size_t end) {
  const Tokens& t = x.tokens();
  std::size_t i = begin + 1;
  while (i < end && (t[i].isWord("distinct") || t[i].isWord("all"))) ++i;
  if (i < end && t[i].isWord("top")) {
    i += 2;
    if (i < end && t[i].isWord("percent")) ++i;
  }
  std::size_t listEnd = i;
  while (listEnd < end) {
    if (t[listEnd].isOp("(")) {
      listEnd = x.closing(listEnd) + 1;
      continue;
    }
    if (t[listEnd].kind == TokenKind::Word && endsSelectList(t[listEnd])) break;
    ++listEnd;
  }
  const auto isName = [](const Token& tok) {
    return tok.kind == TokenKind::Name || (tok.kind == TokenKind::Word && !tok.keyword);
  };
  // Whether a token ends an operand, so that a name after it is an alias.
  const auto endsOperand = [&](const Token& tok) {
    return isName(tok) || tok.kind == TokenKind::Number || tok.kind == TokenKind::String ||
           tok.kind == TokenKind::Variable || tok.isOp(")") || tok.isWord("end") ||
           tok.isWord("null");
  };
  std::vector<std::string> names;
  std::unique_ptr<ExprTranslator> embedded;
  auto cs = x.commas(i, listEnd);
  cs.push_back(listEnd);
  for (std::size_t c : cs) {
    const std::size_t n = c > i ? c - i : 0;
    std::string name;
    if (n == 0) {
      name.clear();
    } else if (n >= 3 && isName(t[i]) && t[i + 1].isOp("=")) {
      name = t[i].text;
    } else if (n >= 2 && t[c - 2].isWord("as")) {
      name = t[c - 1].text;
    } else if (n >= 2 && (isName(t[c - 1]) || t[c - 1].kind == TokenKind::String) &&
               endsOperand(t[c - 2])) {
      name = t[c - 1].text;
    } else if (t[c - 1].isOp("*") && (n == 1 || t[c - 2].isOp("."))) {
      name = "*";
    } else if (isName(t[c - 1]) && (n == 1 || (n >= 3 && t[c - 2].isOp(".")))) {
      bool path = true;
      for (std::size_t k = i; k + 1 < c; k += 2) path = path && isName(t[k]) && t[k + 1].isOp(".");
      if (path) name = t[c - 1].text;
    }
    if (name.empty() && n > 0) {
      // Named by its text as the embedded engine writes it, the same on every engine.
      if (!embedded) embedded = std::make_unique<ExprTranslator>(t, dialectOf(Engine::SQLite));
      name = embedded->range(i, c);
    }
    names.push_back(std::move(name));
    i = c + 1;
  }
  return names;
}

std::string writtenNames(const std::string& name, const std::vector<std::string>& columns) {
  bool differs = asciiLower(name) != name;
  std::string out = name;
  for (const std::string& c : columns) {
    if (c.empty() || c == "*") return differs ? name : std::string();
    differs = differs || asciiLower(c) != c;
    out += '\n';
    out += c;
  }
  return differs ? out : std::string();
}

}  // namespace quillon::sql
