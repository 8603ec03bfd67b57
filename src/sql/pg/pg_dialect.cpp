#include "sql/pg/pg_dialect.h"

#include <array>
#include <string>

#include "sql/sql_error.h"
#include "sql/sql_text.h"

namespace quillon::sql {

namespace {

// Words the server reserves that the T-SQL the library writes may use as names.
constexpr std::array<std::string_view, 24> kServerReserved{
    "analyse",      "analyze",   "array",   "asymmetric", "both",     "cast",
    "current_date", "do",        "freeze",  "ilike",      "isnull",   "lateral",
    "leading",      "limit",     "notnull", "offset",     "only",     "overlaps",
    "placing",      "returning", "similar", "symmetric",  "trailing", "verbose"};

bool isWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.' || c == '"' || c == '$';
}

// Whether the server will copy an expression into the body of a SQL function that uses it more
// than once: it does while the expression runs no sub-select and costs at most ten operators, and
// otherwise calls the function as it is, which costs far more than the body. Counted generously: a
// name (a column, a function, a word) counts two, as it may carry a conversion the server adds,
// an operator sign one; COALESCE and numbers count nothing, a CASE, a sub-select or one of the
// dialect layer's own functions too much.
bool repeatsCheaply(const std::string& expr) {
  const std::string lower = asciiLower(expr);
  for (std::string_view heavy : {"select", "case", "tsql."}) {
    if (lower.find(heavy) != std::string::npos) return false;
  }
  int cost = 0;
  for (std::size_t i = 0; i < lower.size();) {
    const char c = lower[i];
    if (isWordChar(c)) {
      std::size_t end = i;
      while (end < lower.size() && isWordChar(lower[end])) ++end;
      const std::string_view word = std::string_view(lower).substr(i, end - i);
      if (!(c >= '0' && c <= '9') && word != "coalesce") cost += 2;
      i = end;
      continue;
    }
    if (std::string_view("+-*/%<>=!|&^~:").find(c) != std::string_view::npos) ++cost;
    ++i;
  }
  return cost <= 10;
}

}  // namespace

std::string PgDialect::name(std::string_view written) const {
  return quoteName(asciiLower(written));
}

std::string PgDialect::temporaryName(std::string_view written) const {
  return "pg_temp." + name(written);
}

std::string PgDialect::temporaryCatalogue() const {
  return "tsql.tempdb_sysobjects";
}

bool PgDialect::reserves(std::string_view lowerWord) const {
  for (std::string_view w : kServerReserved) {
    if (w == lowerWord) return true;
  }
  return false;
}

std::string PgDialect::identity() const {
  return "tsql.identity()";
}

std::string PgDialect::rowCount() const {
  return "tsql.row_count()";
}

std::string PgDialect::indexName(std::string_view written, bool /*onTemporaryTable*/) const {
  // The server puts an index on a temporary table beside the table itself.
  return name(written);
}

std::string PgDialect::indexedTable(const Token& table) const {
  return tokenText(table);
}

std::string PgDialect::helper(std::string_view name) const {
  return "tsql." + std::string(name);
}

// The dialect layer's functions in the schema "tsql", the server's own where they mean the same.
std::optional<std::string> PgDialect::call(std::string_view name, const CallArguments& args) const {
  const auto as = [&](std::string_view engineName) {
    std::string out(engineName);
    out += "(";
    for (std::size_t i = 0; i < args.size(); ++i) out += (i > 0 ? ", " : "") + args.at(i);
    return out + ")";
  };
  if (name == "isnull") return as("coalesce");
  if (name == "len") return as("tsql.len");
  if (name == "charindex") return as("tsql.charindex");
  if (name == "left" || name == "right") {
    if (args.size() != 2)
      throw SqlError::unsupported(std::string(name) + " with other than two arguments");
    return std::string(name == "left" ? "tsql.left_chars" : "tsql.right_chars") + "(CAST(" +
           args.at(0) + " AS text), " + args.at(1) + ")";
  }
  if (name == "substring") {
    if (args.empty()) throw SqlError::unsupported("SUBSTRING without arguments");
    std::string out = "substr(CAST(" + args.at(0) + " AS text)";
    for (std::size_t i = 1; i < args.size(); ++i) out += ", CAST(" + args.at(i) + " AS integer)";
    return out + ")";
  }
  if (name == "round") {
    if (args.size() < 2) return as("round");
    return roundCall(args.at(0), args.at(1));
  }
  if (name == "ceiling") return as("ceil");
  // NULLIF has the type of its first argument; the server's would take the type both arguments
  // share (NULLIF(-21, 99.0) / 88 would divide decimals).
  if (name == "nullif") {
    if (args.size() != 2) throw SqlError::unsupported("NULLIF with other than two arguments");
    return "CASE WHEN (" + args.at(0) + ") = (" + args.at(1) + ") THEN NULL ELSE (" + args.at(0) +
           ") END";
  }
  // SUM of ints is an int, AVG of integers an integer average of their type.
  if (name == "sum") return "tsql.total(" + args.all() + ")";
  if (name == "avg") return "tsql.average(" + args.all() + ")";
  if (name == "getdate" || name == "sysdatetime" || name == "current_timestamp")
    return "LOCALTIMESTAMP(0)";
  if (name == "getutcdate" || name == "sysutcdatetime")
    return "CAST(now() AT TIME ZONE 'UTC' AS timestamp(0))";
  if (name == "newid") return "replace(CAST(gen_random_uuid() AS text), '-', '')";
  if (name == "db_name") return "CAST(current_database() AS text)";
  if (name == "object_id") return as("tsql.object_id");
  if (name == "objectproperty") return as("tsql.objectproperty");
  if (name == "year" || name == "month" || name == "day") return as("tsql." + std::string(name));
  return std::nullopt;
}

// tsql.round answers a real already at its places without converting it to numeric and back, but
// names its argument several times; an argument the server would not copy there goes to
// tsql.round_numeric, the same rounding through numeric alone, which the server always inlines.
std::string PgDialect::roundCall(const std::string& value, const std::string& places) {
  const bool inlined = repeatsCheaply(value) && repeatsCheaply(places);
  return std::string(inlined ? "tsql.round(" : "tsql.round_numeric(") + value + ", " + places + ")";
}

std::string PgDialect::dateFunction(std::string_view name) const {
  return helper(name == "datename" ? "datepart" : name);
}

// The same conversions as on the embedded engine, through the dialect layer's functions where the
// server's own casts differ (int truncates, texts of dates and numbers are written the embedded
// engine's way).
std::string PgDialect::convert(const TypeName& type, const std::string& expr,
                               const std::string& style) const {
  const std::string& base = type.base;
  if (isCharacterType(base))
    return "tsql.convert_text(" + expr + ", " + style + ", " + convertedLength(type) + ")";
  if (base == "uniqueidentifier") return "tsql.convert_text(" + expr + ", NULL, 0)";
  if (base == "decimal" || base == "numeric") {
    const std::string scale = type.args.size() > 1 ? type.args[1] : "0";
    return roundCall("tsql.real(" + expr + ")", scale);
  }
  if (base == "money" || base == "smallmoney") return roundCall("tsql.real(" + expr + ")", "4");
  if (base == "float" || base == "real") return "tsql.real(" + expr + ")";
  // A real is cut as the decimal of its first 15 significant digits (the server's conversion of
  // a double precision to numeric): 81.85 - 18.85 in doubles converts to 63, as in T-SQL.
  if (base == "bigint") return "CAST(trunc(tsql.decimal(" + expr + ")) AS bigint)";
  if (base == "int" || base == "smallint" || base == "tinyint")
    return "CAST(trunc(tsql.decimal(" + expr + ")) AS integer)";
  if (base == "bit") return "CAST(tsql.real(" + expr + ") <> 0 AS integer)";
  if (base == "datetime" || base == "smalldatetime" || base == "datetime2" ||
      base == "datetimeoffset")
    return "tsql.datetime(" + expr + ")";
  if (base == "date") return "date_trunc('day', tsql.datetime(" + expr + "))";
  if (base == "time") return "tsql.time(" + expr + ")";
  if (isBinaryType(base)) return "CAST(" + expr + " AS bytea)";
  throw SqlError::unsupported("conversion to type " + base);
}

namespace {

// An operand written as a number alone (digits, a point, an exponent, signs, parentheses). The
// server works out an operator between two such numbers while it plans the statement, so an
// overflow or a zero divisor there would fail the statement even where no row reaches it; T-SQL
// fails only when a row does. Such an operation is left to run time (tsql.unfolded).
bool numberAlone(const std::string& s) {
  return s.find_first_of("0123456789") != std::string::npos &&
         s.find_first_not_of("0123456789.eE+-~() ") == std::string::npos;
}

std::string unfolded(const std::string& left, const std::string& right) {
  return numberAlone(left) && numberAlone(right) ? "tsql.unfolded(" + left + ")" : left;
}

}  // namespace

std::string PgDialect::divide(const std::string& left, const std::string& right,
                              bool remainder) const {
  // The server's own operators fail on a zero divisor; its text becomes T-SQL's (PgDatabase).
  return unfolded(left, right) + (remainder ? " % " : " / ") + right;
}

std::string PgDialect::arithmetic(char op, const std::string& left,
                                  const std::string& right) const {
  // The server's integer operators fail beyond their type's range; its text becomes T-SQL's.
  return unfolded(left, right) + " " + op + " " + right;
}

std::string PgDialect::bigint(const std::string& expr) const {
  // The server types a CASE and a COALESCE by their results.
  return expr;
}

std::string PgDialect::isnullOfFirstType(const std::string& first, const std::string& second,
                                         bool real) const {
  // The server knows the arguments' types: tsql.isnull has one for each type of the first
  // argument, and takes a second argument of any type where the statement does not show it.
  return "tsql.isnull(" + first + ", " + (real ? "tsql.real(" + second + ")" : second) + ")";
}

std::string PgDialect::real(const std::string& expr) const {
  return expr;
}

std::string PgDialect::caseBlind(const std::string& operand, bool evident) const {
  // A text function or a concatenation gives a text, which compares with regard to case; a CASE
  // or COALESCE of columns takes their type, which ignores it.
  return evident ? "(" + operand + ")::citext" : operand;
}

std::string PgDialect::bitXor(const std::string& left, const std::string& right) const {
  return "(" + left + " # " + right + ")";
}

std::string PgDialect::collate(bool ignoresCase) const {
  // The server's text columns ignore case by their type: the operand takes the other one.
  return ignoresCase ? "::citext" : "::text";
}

std::string PgDialect::like(const Token& /*op*/) const {
  // LIKE ignores case on both engines.
  return "ILIKE";
}

std::optional<std::string> PgDialect::likePattern(std::string_view pattern) const {
  // The server's LIKE knows "\" as its escape unless told otherwise; T-SQL has none.
  if (pattern.find('\\') == std::string_view::npos) return std::nullopt;
  std::string doubled;
  for (char c : pattern) doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return quoteLiteral(doubled);
}

std::string PgDialect::with(bool recursive) const {
  // The server wants to be told that an expression refers to itself.
  return recursive ? "WITH RECURSIVE" : "WITH";
}

ColumnType PgDialect::columnType(const TypeName& type) const {
  return {"tsql." + quoteName(type.text()), type.text()};
}

std::string PgDialect::identityColumn(std::string_view base) const {
  return std::string(base == "int" || base == "smallint" || base == "tinyint" ? "integer"
                                                                              : "bigint") +
         " GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
}

std::string PgDialect::columnCollation(const std::string& /*written*/, std::string_view collation,
                                       std::string_view base) const {
  // The server's text types ignore case; a column that heeds it is plain text there.
  const bool text = isCharacterType(base) || base == "uniqueidentifier";
  if (asciiLower(collation).find("_ci") == std::string::npos && text)
    throw SqlError::unsupported("COLLATE " + std::string(collation) +
                                " on a column (case-sensitive text)");
  return {};
}

std::string PgDialect::columnRules(const std::string& /*column*/, std::string_view /*base*/,
                                   bool /*collated*/) const {
  return {};
}

std::string PgDialect::noteNames(std::string_view kind, const std::string& object,
                                 const std::string& noted) const {
  return "; COMMENT ON " + std::string(kind) + " " + object + " IS " + quoteLiteral(noted);
}

std::string PgDialect::noteAddedColumn(const std::string& table, const std::string& written) const {
  return "; SELECT tsql.note_columns(" + quoteLiteral(table) + ", " + quoteLiteral(written) + ")";
}

const Dialect& serverDialect() {
  static const PgDialect dialect;
  return dialect;
}

}  // namespace quillon::sql
