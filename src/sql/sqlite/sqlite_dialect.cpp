#include "sql/sqlite/sqlite_dialect.h"

#include <string>

#include "sql/sql_error.h"
#include "sql/sql_text.h"
#include "sql/sqlite/declared_type.h"

namespace quillon::sql {

std::string SqliteDialect::name(std::string_view written) const {
  return quoteName(written);
}

std::string SqliteDialect::temporaryName(std::string_view written) const {
  return "temp." + quoteName(written);
}

std::string SqliteDialect::temporaryCatalogue() const {
  return "temp.tempdb_sysobjects";
}

bool SqliteDialect::reserves(std::string_view /*lowerWord*/) const {
  return false;
}

std::string SqliteDialect::identity() const {
  return "last_insert_rowid()";
}

std::string SqliteDialect::rowCount() const {
  return "changes()";
}

std::string SqliteDialect::indexName(std::string_view written, bool onTemporaryTable) const {
  // An index on a temporary table has to live beside it, in "temp".
  return (onTemporaryTable ? "temp." : "") + quoteName(written);
}

std::string SqliteDialect::indexedTable(const Token& table) const {
  return table.temp ? quoteName(table.text) : tokenText(table);
}

std::string SqliteDialect::helper(std::string_view name) const {
  return "tsql_" + std::string(name);
}

std::optional<std::string> SqliteDialect::call(std::string_view name,
                                               const CallArguments& args) const {
  const auto as = [&](std::string_view engineName) {
    return std::string(engineName) + "(" + args.all() + ")";
  };
  if (name == "isnull") return as("ifnull");
  if (name == "left") return as("tsql_left");
  if (name == "right") return as("tsql_right");
  if (name == "substring") return as("substr");
  if (name == "ceiling") return as("ceil");
  // The engine's AVG of integers is a real; T-SQL's an integer.
  if (name == "avg") return as("tsql_avg");
  // The engine's ROUND gives a real for an integer, and ignores a negative number of places.
  if (name == "round" && args.size() == 2) return as("tsql_round");
  // The engine's SUM of integers goes on in 64 bits; T-SQL's sum of ints is an int.
  if (name == "sum") return as("tsql_sum");
  if (name == "getdate" || name == "sysdatetime" || name == "current_timestamp")
    return "datetime('now','localtime')";
  if (name == "getutcdate" || name == "sysutcdatetime") return "datetime('now')";
  if (name == "newid") return "lower(hex(randomblob(16)))";
  return std::nullopt;
}

std::string SqliteDialect::dateFunction(std::string_view name) const {
  return helper(name);
}

std::string SqliteDialect::convert(const TypeName& type, const std::string& expr,
                                   const std::string& style) const {
  const std::string& base = type.base;
  if (isCharacterType(base))
    return "tsql_convert_text(" + expr + ", " + style + ", " + convertedLength(type) + ")";
  if (base == "uniqueidentifier") return "tsql_convert_text(" + expr + ", NULL, 0)";
  if (base == "decimal" || base == "numeric") {
    const std::string scale = type.args.size() > 1 ? type.args[1] : "0";
    return "round(CAST(" + expr + " AS REAL), " + scale + ")";
  }
  if (base == "money" || base == "smallmoney") return "round(CAST(" + expr + " AS REAL), 4)";
  if (base == "float" || base == "real") return "CAST(" + expr + " AS REAL)";
  // An int is checked against its range; a bigint is marked as one, so that arithmetic on it
  // goes on in 64 bits. A real is cut as the decimal of its first 15 significant digits, as on
  // the server.
  if (base == "bigint") return "tsql_bigint(CAST(tsql_decimal(" + expr + ") AS INTEGER))";
  if (base == "int" || base == "smallint" || base == "tinyint")
    return "tsql_int(CAST(tsql_decimal(" + expr + ") AS INTEGER))";
  if (base == "bit") return "(CAST(" + expr + " AS INTEGER) <> 0)";
  if (base == "datetime" || base == "smalldatetime" || base == "datetime2" ||
      base == "datetimeoffset")
    return "tsql_datetime(" + expr + ")";
  if (base == "date") return "substr(tsql_datetime(" + expr + "), 1, 10)";
  if (base == "time") return "tsql_time(" + expr + ")";
  if (isBinaryType(base)) return "CAST(" + expr + " AS BLOB)";
  throw SqlError::unsupported("conversion to type " + base);
}

std::string SqliteDialect::divide(const std::string& left, const std::string& right,
                                  bool remainder) const {
  // The engine's own "/" and "%" give NULL for a zero divisor.
  return std::string(remainder ? "tsql_modulo(" : "tsql_divide(") + left + ", " + right + ")";
}

std::string SqliteDialect::arithmetic(char op, const std::string& left,
                                      const std::string& right) const {
  // The engine's own operators compute integers in 64 bits, where an int has 32.
  const char* fn = op == '+' ? "tsql_plus(" : op == '-' ? "tsql_minus(" : "tsql_times(";
  return fn + left + ", " + right + ")";
}

std::string SqliteDialect::bigint(const std::string& expr) const {
  // A value carries no type here: an integer result is marked as a bigint (tsql_bigint).
  return "tsql_widen(" + expr + ")";
}

std::string SqliteDialect::isnullOfFirstType(const std::string& first, const std::string& second,
                                             bool /*real*/) const {
  // The columns whose types the translation knows are typed by then: this first argument is an
  // expression of a sub-select or a parameter the engine keeps as each row gives it.
  return "ifnull(" + first + ", " + second + ")";
}

std::string SqliteDialect::real(const std::string& expr) const {
  // The engine keeps each row's result as it is: an integer becomes a real.
  return "tsql_real(" + expr + ")";
}

std::string SqliteDialect::caseBlind(const std::string& operand, bool /*evident*/) const {
  // Only a column carries a collation: an expression compares bytewise unless it is given one.
  // On numbers a collation changes nothing.
  return "(" + operand + ") COLLATE NOCASE";
}

std::string SqliteDialect::bitXor(const std::string& left, const std::string& right) const {
  return "tsql_bitxor(" + left + ", " + right + ")";
}

std::string SqliteDialect::collate(bool ignoresCase) const {
  return ignoresCase ? "COLLATE NOCASE" : "COLLATE BINARY";
}

std::string SqliteDialect::like(const Token& op) const {
  return op.text;
}

std::optional<std::string> SqliteDialect::likePattern(std::string_view /*pattern*/) const {
  return std::nullopt;
}

std::string SqliteDialect::with(bool /*recursive*/) const {
  return "WITH";
}

ColumnType SqliteDialect::columnType(const TypeName& type) const {
  return {engineDeclaredType(type.text()), {}};
}

std::string SqliteDialect::identityColumn(std::string_view /*base*/) const {
  return "INTEGER PRIMARY KEY AUTOINCREMENT";
}

std::string SqliteDialect::columnCollation(const std::string& written,
                                           std::string_view /*collation*/,
                                           std::string_view /*base*/) const {
  return written;
}

std::string SqliteDialect::columnRules(const std::string& column, std::string_view base,
                                       bool collated) const {
  SqlText s;
  if (!collated) s.add(collationClause(base));
  // The server refuses a text that is no date or time; so does the column.
  if (isDateType(base))
    s.add("CHECK (" + column + " IS NULL OR tsql_datetime(" + column + ") IS NOT NULL)");
  if (base == "time")
    s.add("CHECK (" + column + " IS NULL OR tsql_time(" + column + ") IS NOT NULL)");
  return s.take();
}

std::string SqliteDialect::noteNames(std::string_view /*kind*/, const std::string& /*object*/,
                                     const std::string& /*noted*/) const {
  return {};
}

std::string SqliteDialect::noteAddedColumn(const std::string& /*table*/,
                                           const std::string& /*written*/) const {
  return {};
}

const Dialect& embeddedDialect() {
  static const SqliteDialect dialect;
  return dialect;
}

}  // namespace quillon::sql
