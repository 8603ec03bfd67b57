#include "sql/sqlite/functions.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "automation/calendar.h"
#include "automation/utf8.h"
#include "sql/result.h"
#include "sql/sqlite/date_text.h"
#include "sql/sqlite/decimal_digits.h"
#include "sql/sqlite/declared_type.h"
#include "sql/token.h"

namespace quillon::sql {

namespace {

// The type under which the catalogue shows an object of the file (m, its row of
// main.sqlite_master): a view that stands for a table, whose updates a trigger "<view>_Route"
// routes to a table (SqliteDatabase::routeViewUpdates), shows as a table.
constexpr std::string_view kShownType =
    "(CASE WHEN m.type = 'view' AND EXISTS (SELECT 1 FROM main.sqlite_master r WHERE r.type = "
    "'trigger' AND r.tbl_name = m.name AND r.name = m.name || '_Route' COLLATE NOCASE) THEN "
    "'table' ELSE m.type END)";

std::string_view textOf(sqlite3_value* v) {
  const auto* p = sqlite3_value_text(v);
  if (p == nullptr) return {};
  return {reinterpret_cast<const char*>(p), static_cast<std::size_t>(sqlite3_value_bytes(v))};
}

bool isNull(sqlite3_value* v) {
  return sqlite3_value_type(v) == SQLITE_NULL;
}

void resultText(sqlite3_context* ctx, std::string_view s) {
  sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const std::string& message) {
  sqlite3_result_error(ctx, message.c_str(), static_cast<int>(message.size()));
}

// Characters are counted by the library's codec, a malformed byte being one of its own
// (automation/utf8.h).
// Byte offset of the n-th character (0-based) of the text, or its size when shorter.
std::size_t charOffset(std::string_view s, std::int64_t n) {
  return n <= 0 ? 0 : automation::utf8::byteOffset(s, static_cast<std::size_t>(n));
}

std::int64_t charCount(std::string_view s) {
  return static_cast<std::int64_t>(automation::utf8::charCount(s));
}

// --- catalogue ------------------------------------------------------------------------------

// object_id(name [, type]): the id of a table, view or trigger, or NULL. Names may carry brackets,
// an owner and a tempdb prefix; "#name" and "tempdb..name" are looked up among the connection's
// temporary objects, which get negative ids.
void objectId(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (isNull(argv[0])) return sqlite3_result_null(ctx);
  std::string text(textOf(argv[0]));
  bool temp = false;
  // Split on dots outside brackets; the last part is the object's name.
  std::string part;
  std::string last;
  int parts = 0;
  bool bracket = false;
  std::string first;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : '.';
    if (c == '[' && !bracket) {
      bracket = true;
    } else if (c == ']' && bracket) {
      bracket = false;
    } else if (c == '.' && !bracket) {
      if (parts == 0) first = part;
      ++parts;
      last = part;
      part.clear();
    } else if (c != '"') {
      part += c;
    }
  }
  if (parts > 1 && asciiLower(first) == "tempdb") temp = true;
  if (!last.empty() && last[0] == '#') temp = true;
  std::string type = "table','view','trigger";
  if (argc > 1 && !isNull(argv[1])) {
    const std::string t = asciiLower(textOf(argv[1]));
    if (t.rfind("u", 0) == 0)
      type = "table";
    else if (t.rfind("v", 0) == 0)
      type = "view";
    else if (t.rfind("tr", 0) == 0)
      type = "trigger";
    else
      return sqlite3_result_null(ctx);
  }
  const std::string sql =
      std::string("SELECT ") +
      (temp ? "-rowid FROM temp.sqlite_master WHERE type"
            : "rowid FROM main.sqlite_master m WHERE " + std::string(kShownType)) +
      " IN ('" + type + "') AND name = ?1 COLLATE NOCASE";
  sqlite3* db = sqlite3_context_db_handle(ctx);
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    resultError(ctx, sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return;
  }
  sqlite3_bind_text(stmt, 1, last.c_str(), static_cast<int>(last.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(stmt) == SQLITE_ROW) {
    sqlite3_result_int64(ctx, sqlite3_column_int64(stmt, 0));
  } else {
    sqlite3_result_null(ctx);
  }
  sqlite3_finalize(stmt);
}

// objectproperty(id, property) for the properties the library asks: IsUserTable, IsView,
// IsTable, IsTrigger. Unknown ids and properties give NULL, as on the server.
void objectProperty(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0]) || isNull(argv[1])) return sqlite3_result_null(ctx);
  const std::int64_t id = sqlite3_value_int64(argv[0]);
  const std::string property = asciiLower(textOf(argv[1]));
  std::string wanted;
  if (property == "isusertable" || property == "istable")
    wanted = "table";
  else if (property == "isview")
    wanted = "view";
  else if (property == "istrigger")
    wanted = "trigger";
  else if (property == "isprocedure")
    wanted = "procedure";
  else
    return sqlite3_result_null(ctx);
  const std::string sql =
      id < 0 ? std::string("SELECT type FROM temp.sqlite_master WHERE rowid = ?1")
             : "SELECT " + std::string(kShownType) + " FROM main.sqlite_master m WHERE rowid = ?1";
  sqlite3* db = sqlite3_context_db_handle(ctx);
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    resultError(ctx, sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return;
  }
  sqlite3_bind_int64(stmt, 1, id < 0 ? -id : id);
  if (sqlite3_step(stmt) == SQLITE_ROW) {
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_result_int(ctx, type != nullptr && wanted == type ? 1 : 0);
  } else {
    sqlite3_result_null(ctx);
  }
  sqlite3_finalize(stmt);
}

// db_name(): the database's name, the file's name without its extension.
void dbName(sqlite3_context* ctx, int, sqlite3_value**) {
  const char* file = sqlite3_db_filename(sqlite3_context_db_handle(ctx), "main");
  std::string_view name = file != nullptr ? file : "";
  if (const auto slash = name.find_last_of('/'); slash != std::string_view::npos)
    name.remove_prefix(slash + 1);
  if (const auto dot = name.rfind('.'); dot != std::string_view::npos && dot > 0)
    name = name.substr(0, dot);
  resultText(ctx, name.empty() ? "main" : name);
}

// tsql_column_type(declared, what): what INFORMATION_SCHEMA.COLUMNS tells of a column declared
// with an engine type: 'type', 'length', 'octets', 'precision', 'radix', 'scale' or 'datetime'
// (its fractional-second digits); NULL where the server shows NULL.
void columnType(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const ColumnInfo c = describeDeclaredType(tsqlTypeFromDeclared(textOf(argv[0])));
  const std::string what = asciiLower(textOf(argv[1]));
  const std::string& b = c.baseType;
  if (b.empty()) return sqlite3_result_null(ctx);
  if (what == "type") return resultText(ctx, b);
  const bool wide = b == "nchar" || b == "nvarchar" || b == "ntext";
  const bool chars = wide || b == "char" || b == "varchar" || b == "text" || b == "sysname";
  const bool bytes = b == "binary" || b == "varbinary" || b == "image";
  if (what == "length" || what == "octets") {
    if (!chars && !bytes) return sqlite3_result_null(ctx);
    std::int64_t n = b == "sysname" ? 128 : c.size;
    if (b == "text" || b == "image") n = 2147483647;
    if (b == "ntext") n = 1073741823;
    if (c.declaredType.ends_with("(max)")) return sqlite3_result_int(ctx, -1);
    if (n <= 0) n = 1;  // char and binary without a length hold one
    return sqlite3_result_int64(ctx, what == "octets" && wide ? n * 2 : n);
  }
  struct Numeric {
    std::string_view type;
    int precision, radix, scale;
  };
  static constexpr Numeric kNumerics[] = {
      {"tinyint", 3, 10, 0}, {"smallint", 5, 10, 0},    {"int", 10, 10, 0},   {"bigint", 19, 10, 0},
      {"money", 19, 10, 4},  {"smallmoney", 10, 10, 4}, {"float", 53, 2, -1}, {"real", 24, 2, -1},
  };
  if (what == "precision" || what == "radix" || what == "scale") {
    if (b == "decimal" || b == "numeric") {
      const int p = c.precision > 0 ? c.precision : 18;
      return sqlite3_result_int(ctx, what == "precision" ? p : what == "radix" ? 10 : c.scale);
    }
    for (const auto& n : kNumerics) {
      if (n.type != b) continue;
      const int v = what == "precision" ? n.precision : what == "radix" ? n.radix : n.scale;
      return v < 0 ? sqlite3_result_null(ctx) : sqlite3_result_int(ctx, v);
    }
    return sqlite3_result_null(ctx);
  }
  if (what == "datetime") {
    if (b == "datetime") return sqlite3_result_int(ctx, 3);
    if (b == "smalldatetime" || b == "date") return sqlite3_result_int(ctx, 0);
    if (b == "time" || b == "datetime2" || b == "datetimeoffset")
      return sqlite3_result_int(ctx, c.declaredType.find('(') != std::string::npos ? c.scale : 7);
    return sqlite3_result_null(ctx);
  }
  sqlite3_result_null(ctx);
}

// --- strings --------------------------------------------------------------------------------

// len(x): characters, trailing blanks not counted.
void len(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0])) return sqlite3_result_null(ctx);
  std::string_view s = textOf(argv[0]);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  sqlite3_result_int64(ctx, charCount(s));
}

// charindex(what, where [, start]): 1-based character position, 0 when absent. ASCII letters
// match without regard to case, as under the server's collation.
void charIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (isNull(argv[0]) || isNull(argv[1])) return sqlite3_result_null(ctx);
  const std::string what = asciiLower(textOf(argv[0]));
  const std::string where = asciiLower(textOf(argv[1]));
  std::int64_t start = argc > 2 && !isNull(argv[2]) ? sqlite3_value_int64(argv[2]) : 1;
  if (start < 1) start = 1;
  if (what.empty()) return sqlite3_result_int(ctx, 0);
  const std::size_t from = charOffset(where, start - 1);
  const std::size_t at = where.find(what, from);
  if (at == std::string::npos) return sqlite3_result_int(ctx, 0);
  sqlite3_result_int64(ctx, charCount(std::string_view(where).substr(0, at)) + 1);
}

void leftOrRight(sqlite3_context* ctx, sqlite3_value** argv, bool left) {
  if (isNull(argv[0]) || isNull(argv[1])) return sqlite3_result_null(ctx);
  const std::int64_t n = sqlite3_value_int64(argv[1]);
  if (n < 0)
    return resultError(ctx, std::string("Invalid length parameter passed to the ") +
                                (left ? "left" : "right") + " function.");
  const std::string_view s = textOf(argv[0]);
  if (left) return resultText(ctx, s.substr(0, charOffset(s, n)));
  const std::int64_t total = charCount(s);
  resultText(ctx, total <= n ? s : s.substr(charOffset(s, total - n)));
}

void tsqlLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
  leftOrRight(ctx, argv, true);
}
void tsqlRight(sqlite3_context* ctx, int, sqlite3_value** argv) {
  leftOrRight(ctx, argv, false);
}

// --- integer arithmetic ---------------------------------------------------------------------
//
// The engine keeps every integer in 64 bits; T-SQL's int is 32 bits, and an int expression whose
// value leaves that range fails. A value carries no declared type here, so an integer counts as
// an int unless it is evidently a bigint: a value outside the int range, or the result of a
// conversion to bigint (tsql_bigint), which marks its result with this subtype and which each
// arithmetic function below passes on to its own result.
constexpr unsigned int kBigintSubtype = 'b';
constexpr const char* kIntOverflow =
    "Arithmetic overflow error converting expression to data type int.";
constexpr const char* kBigintOverflow =
    "Arithmetic overflow error converting expression to data type bigint.";

bool inIntRange(std::int64_t v) {
  return v >= std::numeric_limits<std::int32_t>::min() &&
         v <= std::numeric_limits<std::int32_t>::max();
}

bool isBigint(sqlite3_value* v, std::int64_t i) {
  return sqlite3_value_subtype(v) == kBigintSubtype || !inIntRange(i);
}

// An integer result: an int beyond its range fails, a bigint keeps its mark.
void resultInteger(sqlite3_context* ctx, std::int64_t value, bool bigint) {
  if (!bigint && !inIntRange(value)) return resultError(ctx, kIntOverflow);
  sqlite3_result_int64(ctx, value);
  if (bigint) sqlite3_result_subtype(ctx, kBigintSubtype);
}

// The number an operand of an arithmetic operator stands for: an integer or a real as it is, a
// text as the number it reads as. False (with the server's error set) for a text that is no
// number.
bool numericOperand(sqlite3_context* ctx, sqlite3_value* v, bool& real, double& d,
                    std::int64_t& i) {
  int type = sqlite3_value_type(v);
  if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
    type = sqlite3_value_numeric_type(v);
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) {
      resultError(ctx, "Conversion failed when converting the varchar value '" +
                           std::string(textOf(v)) + "' to a number.");
      return false;
    }
  }
  real = type == SQLITE_FLOAT;
  d = sqlite3_value_double(v);
  i = sqlite3_value_int64(v);
  return true;
}

// a + b, a - b, a * b on numbers: reals as the engine computes them, integers checked against
// the range of their type.
void arithmetic(sqlite3_context* ctx, sqlite3_value** argv, char op) {
  const int left = sqlite3_value_type(argv[0]);
  const int right = sqlite3_value_type(argv[1]);
  if (left == SQLITE_NULL || right == SQLITE_NULL) return sqlite3_result_null(ctx);
  if (left == SQLITE_FLOAT && right == SQLITE_FLOAT) {  // quantities: the common case, per row
    const double a = sqlite3_value_double(argv[0]);
    const double b = sqlite3_value_double(argv[1]);
    return sqlite3_result_double(ctx, op == '+' ? a + b : op == '-' ? a - b : a * b);
  }
  bool real[2] = {false, false};
  double d[2] = {0, 0};
  std::int64_t i[2] = {0, 0};
  for (int k = 0; k < 2; ++k) {
    if (!numericOperand(ctx, argv[k], real[k], d[k], i[k])) return;
  }
  if (real[0] || real[1]) {
    return sqlite3_result_double(ctx, op == '+'   ? d[0] + d[1]
                                      : op == '-' ? d[0] - d[1]
                                                  : d[0] * d[1]);
  }
  std::int64_t r = 0;
  const bool overflowed = op == '+'   ? __builtin_add_overflow(i[0], i[1], &r)
                          : op == '-' ? __builtin_sub_overflow(i[0], i[1], &r)
                                      : __builtin_mul_overflow(i[0], i[1], &r);
  const bool bigint = isBigint(argv[0], i[0]) || isBigint(argv[1], i[1]);
  if (overflowed) return resultError(ctx, bigint ? kBigintOverflow : kIntOverflow);
  resultInteger(ctx, r, bigint);
}

void tsqlPlus(sqlite3_context* ctx, int, sqlite3_value** argv) {
  arithmetic(ctx, argv, '+');
}
void tsqlMinus(sqlite3_context* ctx, int, sqlite3_value** argv) {
  arithmetic(ctx, argv, '-');
}
void tsqlTimes(sqlite3_context* ctx, int, sqlite3_value** argv) {
  arithmetic(ctx, argv, '*');
}

// tsql_int(x) and tsql_bigint(x): an integer the engine converted, checked against the int range
// or marked as a bigint.
void tsqlInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0])) return sqlite3_result_null(ctx);
  resultInteger(ctx, sqlite3_value_int64(argv[0]), false);
}
void tsqlBigint(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0])) return sqlite3_result_null(ctx);
  resultInteger(ctx, sqlite3_value_int64(argv[0]), true);
}

// tsql_decimal(x): a real as the decimal its first 15 significant digits write, as the server
// converts a double precision to numeric; any other value as it is. A conversion to an integer
// cuts that decimal: 81.85 - 18.85 is 62.99999999999999 in doubles and converts to 63, as the
// decimal 63.00 does in T-SQL.
void tsqlDecimal(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_FLOAT) return sqlite3_result_value(ctx, argv[0]);
  sqlite3_result_double(ctx, fifteenDigitDecimal(sqlite3_value_double(argv[0])));
}

// tsql_widen(x): x, an integer marked as a bigint (the result of a CASE or COALESCE that has a
// bigint among its results).
void tsqlWiden(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_INTEGER) return sqlite3_result_value(ctx, argv[0]);
  resultInteger(ctx, sqlite3_value_int64(argv[0]), true);
}

// tsql_real(x): x, an integer as a real (the result of a CASE or COALESCE that has a decimal or a
// float among its results).
void tsqlReal(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_INTEGER) return sqlite3_result_value(ctx, argv[0]);
  sqlite3_result_double(ctx, static_cast<double>(sqlite3_value_int64(argv[0])));
}

// tsql_round(x, n): ROUND as T-SQL has it. An integer stays an integer of its type (rounded to
// tens, hundreds, … for a negative n); a real is rounded half away from zero as the decimal its
// first 15 significant digits write, as the server rounds a double precision through numeric.
void tsqlRound(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0]) || isNull(argv[1])) return sqlite3_result_null(ctx);
  bool real = false;
  double d = 0;
  std::int64_t i = 0;
  if (!numericOperand(ctx, argv[0], real, d, i)) return;
  const std::int64_t n = std::clamp<std::int64_t>(sqlite3_value_int64(argv[1]), -400, 400);
  if (!real) {
    const bool bigint = isBigint(argv[0], i);
    if (n >= 0) return resultInteger(ctx, i, bigint);
    if (n < -18) return resultInteger(ctx, 0, bigint);
    std::int64_t unit = 1;
    for (std::int64_t k = 0; k < -n; ++k) unit *= 10;
    std::int64_t r = i / unit * unit;
    const std::int64_t rest = i % unit;
    if ((rest < 0 ? -rest : rest) >= unit - (rest < 0 ? -rest : rest)) {
      if (__builtin_add_overflow(r, i < 0 ? -unit : unit, &r))
        return resultError(ctx, bigint ? kBigintOverflow : kIntOverflow);
    }
    return resultInteger(ctx, r, bigint);
  }
  sqlite3_result_double(ctx, roundFifteenDigits(d, n));
}

// a + b where neither operand is evidently text or a number when the statement is read: text
// and text concatenate; otherwise the text operand must be a number, as on the server.
void tsqlAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0]) || isNull(argv[1])) return sqlite3_result_null(ctx);
  const int ta = sqlite3_value_type(argv[0]);
  const int tb = sqlite3_value_type(argv[1]);
  if (ta == SQLITE_TEXT && tb == SQLITE_TEXT) {
    std::string s(textOf(argv[0]));
    s += textOf(argv[1]);
    return resultText(ctx, s);
  }
  arithmetic(ctx, argv, '+');
}

// a / b and a % b as T-SQL has them: integers divide as integers (truncating toward zero), a
// zero divisor is an error rather than the engine's NULL.
void divideOrRemainder(sqlite3_context* ctx, sqlite3_value** argv, bool remainder) {
  if (isNull(argv[0]) || isNull(argv[1])) return sqlite3_result_null(ctx);
  bool real[2] = {false, false};
  double d[2] = {0, 0};
  std::int64_t i[2] = {0, 0};
  for (int k = 0; k < 2; ++k) {
    if (!numericOperand(ctx, argv[k], real[k], d[k], i[k])) return;
  }
  const bool anyReal = real[0] || real[1];
  if (anyReal ? d[1] == 0.0 : i[1] == 0)
    return resultError(ctx, "Divide by zero error encountered.");
  if (anyReal) return sqlite3_result_double(ctx, remainder ? std::fmod(d[0], d[1]) : d[0] / d[1]);
  const bool bigint = isBigint(argv[0], i[0]) || isBigint(argv[1], i[1]);
  if (i[0] == std::numeric_limits<std::int64_t>::min() && i[1] == -1) {
    if (remainder) return resultInteger(ctx, 0, bigint);
    return resultError(ctx, kBigintOverflow);
  }
  // The int minimum divided by -1 leaves the int range.
  resultInteger(ctx, remainder ? i[0] % i[1] : i[0] / i[1], bigint);
}

void tsqlDivide(sqlite3_context* ctx, int, sqlite3_value** argv) {
  divideOrRemainder(ctx, argv, false);
}

void tsqlModulo(sqlite3_context* ctx, int, sqlite3_value** argv) {
  divideOrRemainder(ctx, argv, true);
}

// SUM and AVG as T-SQL has them. Both add the rows' values in the order of the rows, as the server
// adds them, keeping an exact 64-bit sum of the integers beside the real one.
struct Total {
  std::int64_t count = 0;
  std::int64_t integerSum = 0;
  double realSum = 0;
  bool real = false;
  bool bigint = false;
  bool overflowed = false;
};

void totalStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0])) return;
  auto* a = static_cast<Total*>(sqlite3_aggregate_context(ctx, sizeof(Total)));
  if (a == nullptr) return sqlite3_result_error_nomem(ctx);
  bool real = false;
  double d = 0;
  std::int64_t i = 0;
  if (!numericOperand(ctx, argv[0], real, d, i)) return;
  ++a->count;
  a->real = a->real || real;
  a->realSum += d;
  if (real) return;
  a->bigint = a->bigint || isBigint(argv[0], i);
  if (__builtin_add_overflow(a->integerSum, i, &a->integerSum)) a->overflowed = true;
}

// The sum of ints is an int, failing beyond its range; of bigints a bigint; of anything else a
// real.
void sumFinal(sqlite3_context* ctx) {
  auto* a = static_cast<Total*>(sqlite3_aggregate_context(ctx, 0));
  if (a == nullptr || a->count == 0) return sqlite3_result_null(ctx);
  if (a->real) return sqlite3_result_double(ctx, a->realSum);
  if (a->overflowed) return resultError(ctx, a->bigint ? kBigintOverflow : kIntOverflow);
  resultInteger(ctx, a->integerSum, a->bigint);
}

// The average of integers is an integer (the sum divided by the count, truncating), of anything
// else a real.
void averageFinal(sqlite3_context* ctx) {
  auto* a = static_cast<Total*>(sqlite3_aggregate_context(ctx, 0));
  if (a == nullptr || a->count == 0) return sqlite3_result_null(ctx);
  if (a->real) return sqlite3_result_double(ctx, a->realSum / static_cast<double>(a->count));
  if (a->overflowed) return resultError(ctx, kBigintOverflow);
  sqlite3_result_int64(ctx, a->integerSum / a->count);
}

// a ^ b: the engine has no exclusive-or operator.
void tsqlBitxor(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0]) || isNull(argv[1])) return sqlite3_result_null(ctx);
  sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) ^ sqlite3_value_int64(argv[1]));
}

// tsql_recursion_level(level, limit): the level of a row a recursive common table expression
// makes, or the server's error once it passes the limit.
void recursionLevel(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const std::int64_t level = sqlite3_value_int64(argv[0]);
  const std::int64_t limit = sqlite3_value_int64(argv[1]);
  if (level > limit) {
    return resultError(ctx, "The statement terminated. The maximum recursion " +
                                std::to_string(limit) +
                                " has been exhausted before statement completion.");
  }
  sqlite3_result_int64(ctx, level);
}

// --- conversions and dates ------------------------------------------------------------------

// The dates the engine keeps: year 1 to 9999, as four-digit years write them.
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;
constexpr const char* kDateConversionOverflow =
    "Arithmetic overflow error converting expression to data type datetime.";
constexpr const char* kDateAddOverflow =
    "Adding a value to a 'datetime' column caused an overflow.";

bool inDateRange(std::int64_t year) {
  return year >= kFirstYear && year <= kLastYear;
}

namespace calendar = automation::calendar;

std::int64_t dayOf(const DateTimeParts& d) {
  return calendar::dayNumber(d.year, d.month, d.day);
}

void setDate(DateTimeParts& d, const calendar::CivilDate& date) {
  d.year = date.year;
  d.month = date.month;
  d.day = date.day;
}

std::optional<DateTimeParts> dateArg(sqlite3_context* ctx, sqlite3_value* v) {
  if (sqlite3_value_type(v) == SQLITE_INTEGER || sqlite3_value_type(v) == SQLITE_FLOAT) {
    // A number is days since 1900-01-01, the fraction the time of day.
    const double serial = sqlite3_value_double(v);
    const double whole = std::floor(serial);
    const std::int64_t epoch = calendar::dayNumber(1900, 1, 1);
    // Compared as doubles first: a serial beyond the range may not fit any integer.
    if (!(whole >= static_cast<double>(calendar::dayNumber(kFirstYear, 1, 1) - epoch) &&
          whole <= static_cast<double>(calendar::dayNumber(kLastYear, 12, 31) - epoch))) {
      resultError(ctx, kDateConversionOverflow);
      return std::nullopt;
    }
    std::int64_t days = static_cast<std::int64_t>(whole) + epoch;
    auto ms = static_cast<std::int64_t>(std::llround((serial - whole) * 86400000.0));
    if (ms >= 86400000) {  // a fraction that rounds up to the next midnight
      ms -= 86400000;
      ++days;
    }
    DateTimeParts d;
    setDate(d, calendar::civilDate(days));
    if (!inDateRange(d.year)) {
      resultError(ctx, kDateConversionOverflow);
      return std::nullopt;
    }
    d.hour = static_cast<int>(ms / 3600000);
    d.minute = static_cast<int>(ms / 60000 % 60);
    d.second = static_cast<int>(ms / 1000 % 60);
    d.millisecond = static_cast<int>(ms % 1000);
    return d;
  }
  auto d = parseDateTime(textOf(v));
  if (!d)
    resultError(ctx, "Conversion failed when converting date and/or time from character string: '" +
                         std::string(textOf(v)) + "'");
  return d;
}

void tsqlDatetime(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0])) return sqlite3_result_null(ctx);
  if (auto d = dateArg(ctx, argv[0])) resultText(ctx, formatDateTime(*d));
}

// tsql_time(x): the time of day of a time or date text, NULL for text that is neither.
void tsqlTime(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0])) return sqlite3_result_null(ctx);
  if (auto d = parseTime(textOf(argv[0]))) return resultText(ctx, formatTime(*d));
  resultError(ctx, "Conversion failed when converting date and/or time from character string: '" +
                       std::string(textOf(argv[0])) + "'");
}

std::string styled(const DateTimeParts& d, int style, bool& ok) {
  char buf[40];
  ok = true;
  switch (style) {
    case 20:
    case 120:
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day,
                    d.hour, d.minute, d.second);
      break;
    case 21:
    case 121:
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year, d.month, d.day,
                    d.hour, d.minute, d.second, d.millisecond);
      break;
    case 23:
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
      break;
    case 112:
      std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
      break;
    case 12:
      std::snprintf(buf, sizeof buf, "%02d%02d%02d", d.year % 100, d.month, d.day);
      break;
    case 102:
      std::snprintf(buf, sizeof buf, "%04d.%02d.%02d", d.year, d.month, d.day);
      break;
    case 111:
      std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", d.year, d.month, d.day);
      break;
    case 101:
      std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.month, d.day, d.year);
      break;
    case 103:
      std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
      break;
    case 8:
    case 108:
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", d.hour, d.minute, d.second);
      break;
    default:
      ok = false;
      return {};
  }
  return buf;
}

// tsql_convert_text(value, style, length): CONVERT/CAST to a character type.
void tsqlConvertText(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[0])) return sqlite3_result_null(ctx);
  std::string s;
  const int type = sqlite3_value_type(argv[0]);
  if (!isNull(argv[1])) {
    const int style = sqlite3_value_int(argv[1]);
    if (type == SQLITE_TEXT) {
      auto d = parseDateTime(textOf(argv[0]));
      if (d) {
        bool ok = false;
        s = styled(*d, style, ok);
        if (!ok)
          return resultError(ctx,
                             "Style " + std::to_string(style) + " of CONVERT is not supported");
      } else {
        s = textOf(argv[0]);
      }
    } else {
      s = textOf(argv[0]);
    }
  } else if (type == SQLITE_FLOAT) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", sqlite3_value_double(argv[0]));
    s = buf;
  } else {
    s = textOf(argv[0]);
  }
  const std::int64_t length = isNull(argv[2]) ? 0 : sqlite3_value_int64(argv[2]);
  if (length > 0) s.resize(charOffset(s, length));
  resultText(ctx, s);
}

int datePartOf(const DateTimeParts& d, std::string_view part, bool& ok) {
  ok = true;
  if (part == "year" || part == "yy" || part == "yyyy") return d.year;
  if (part == "month" || part == "mm" || part == "m") return d.month;
  if (part == "day" || part == "dd" || part == "d") return d.day;
  if (part == "hour" || part == "hh") return d.hour;
  if (part == "minute" || part == "mi" || part == "n") return d.minute;
  if (part == "second" || part == "ss" || part == "s") return d.second;
  if (part == "quarter" || part == "qq" || part == "q") return (d.month - 1) / 3 + 1;
  if (part == "dayofyear" || part == "dy" || part == "y") {
    return static_cast<int>(dayOf(d) - calendar::dayNumber(d.year, 1, 1) + 1);
  }
  if (part == "weekday" || part == "dw") {
    // Sunday = 1, the server's default first day of the week.
    // Day 0 was a Saturday; Sunday is 1.
    return static_cast<int>(((dayOf(d) % 7) + 13) % 7) + 1;
  }
  ok = false;
  return 0;
}

void tsqlDatepart(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[1])) return sqlite3_result_null(ctx);
  const std::string part = asciiLower(textOf(argv[0]));
  auto d = dateArg(ctx, argv[1]);
  if (!d) return;
  bool ok = false;
  const int v = datePartOf(*d, part, ok);
  if (!ok) return resultError(ctx, "Date part '" + part + "' is not supported");
  sqlite3_result_int(ctx, v);
}

void yearMonthDay(sqlite3_context* ctx, sqlite3_value** argv, const char* part) {
  if (isNull(argv[0])) return sqlite3_result_null(ctx);
  auto d = dateArg(ctx, argv[0]);
  if (!d) return;
  bool ok = false;
  sqlite3_result_int(ctx, datePartOf(*d, part, ok));
}

void year(sqlite3_context* ctx, int, sqlite3_value** argv) {
  yearMonthDay(ctx, argv, "year");
}
void month(sqlite3_context* ctx, int, sqlite3_value** argv) {
  yearMonthDay(ctx, argv, "month");
}
void day(sqlite3_context* ctx, int, sqlite3_value** argv) {
  yearMonthDay(ctx, argv, "day");
}

std::int64_t secondsOf(const DateTimeParts& d) {
  return dayOf(d) * 86400 + d.hour * 3600 + d.minute * 60 + d.second;
}

DateTimeParts fromSeconds(std::int64_t s, int ms) {
  DateTimeParts d;
  std::int64_t days = s / 86400;
  std::int64_t rest = s % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  setDate(d, calendar::civilDate(days));
  d.hour = static_cast<int>(rest / 3600);
  d.minute = static_cast<int>(rest / 60 % 60);
  d.second = static_cast<int>(rest % 60);
  d.millisecond = ms;
  return d;
}

void tsqlDateadd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[1]) || isNull(argv[2])) return sqlite3_result_null(ctx);
  const std::string part = asciiLower(textOf(argv[0]));
  const std::int64_t n = sqlite3_value_int64(argv[1]);
  auto d = dateArg(ctx, argv[2]);
  if (!d) return;
  if (part == "year" || part == "yy" || part == "yyyy" || part == "month" || part == "mm" ||
      part == "m" || part == "quarter" || part == "qq" || part == "q") {
    const std::int64_t perUnit = part[0] == 'y' ? 12 : part[0] == 'q' ? 3 : 1;
    // No sum of months beyond the range fits it: refused before it is multiplied out.
    constexpr std::int64_t kMonthsInRange = (kLastYear - kFirstYear + 1) * 12LL;
    if (n > kMonthsInRange / perUnit || n < -kMonthsInRange / perUnit) {
      return resultError(ctx, kDateAddOverflow);
    }
    const std::int64_t total = d->year * 12LL + (d->month - 1) + n * perUnit;
    if (!inDateRange(total / 12)) return resultError(ctx, kDateAddOverflow);
    d->year = static_cast<int>(total / 12);
    d->month = static_cast<int>(total % 12) + 1;
    // The day is clipped to the end of a shorter month.
    const int last = calendar::daysInMonth(d->year, d->month);
    if (d->day > last) d->day = last;
    return resultText(ctx, formatDateTime(*d));
  }
  std::int64_t unit = 0;
  if (part == "day" || part == "dd" || part == "d" || part == "dayofyear" || part == "dy" ||
      part == "y" || part == "weekday" || part == "dw")
    unit = 86400;
  else if (part == "week" || part == "wk" || part == "ww")
    unit = 7 * 86400;
  else if (part == "hour" || part == "hh")
    unit = 3600;
  else if (part == "minute" || part == "mi" || part == "n")
    unit = 60;
  else if (part == "second" || part == "ss" || part == "s")
    unit = 1;
  else
    return resultError(ctx, "Date part '" + part + "' is not supported in DATEADD");
  constexpr std::int64_t kSecondsInRange = (kLastYear - kFirstYear + 1) * 366LL * 86400;
  if (n > kSecondsInRange / unit || n < -kSecondsInRange / unit) {
    return resultError(ctx, kDateAddOverflow);
  }
  const DateTimeParts sum = fromSeconds(secondsOf(*d) + n * unit, d->millisecond);
  if (!inDateRange(sum.year)) return resultError(ctx, kDateAddOverflow);
  resultText(ctx, formatDateTime(sum));
}

// datediff counts the boundaries crossed between the two dates, as the server does.
void tsqlDatediff(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (isNull(argv[1]) || isNull(argv[2])) return sqlite3_result_null(ctx);
  const std::string part = asciiLower(textOf(argv[0]));
  auto a = dateArg(ctx, argv[1]);
  if (!a) return;
  auto b = dateArg(ctx, argv[2]);
  if (!b) return;
  if (part == "year" || part == "yy" || part == "yyyy")
    return sqlite3_result_int64(ctx, b->year - a->year);
  if (part == "quarter" || part == "qq" || part == "q") {
    return sqlite3_result_int64(
        ctx, (b->year * 4LL + (b->month - 1) / 3) - (a->year * 4LL + (a->month - 1) / 3));
  }
  if (part == "month" || part == "mm" || part == "m") {
    return sqlite3_result_int64(ctx, (b->year * 12LL + b->month) - (a->year * 12LL + a->month));
  }
  const std::int64_t da = dayOf(*a);
  const std::int64_t db = dayOf(*b);
  if (part == "day" || part == "dd" || part == "d" || part == "dayofyear" || part == "dy" ||
      part == "y") {
    return sqlite3_result_int64(ctx, db - da);
  }
  const std::int64_t ha = da * 24 + a->hour;
  const std::int64_t hb = db * 24 + b->hour;
  if (part == "hour" || part == "hh") return sqlite3_result_int64(ctx, hb - ha);
  const std::int64_t ma = ha * 60 + a->minute;
  const std::int64_t mb = hb * 60 + b->minute;
  if (part == "minute" || part == "mi" || part == "n") return sqlite3_result_int64(ctx, mb - ma);
  if (part == "second" || part == "ss" || part == "s") {
    return sqlite3_result_int64(ctx, (mb * 60 + b->second) - (ma * 60 + a->second));
  }
  resultError(ctx, "Date part '" + part + "' is not supported in DATEDIFF");
}

// Dates compare as points in time whichever of the accepted forms they are written in; texts that
// are no dates compare bytewise after them.
int compareDates(void*, int na, const void* a, int nb, const void* b) {
  const std::string_view sa(static_cast<const char*>(a), static_cast<std::size_t>(na));
  const std::string_view sb(static_cast<const char*>(b), static_cast<std::size_t>(nb));
  const auto da = parseDateTime(sa);
  const auto db = parseDateTime(sb);
  if (da && db) {
    const auto key = [](const DateTimeParts& d) {
      return std::array<int, 7>{d.year, d.month, d.day, d.hour, d.minute, d.second, d.millisecond};
    };
    const auto ka = key(*da);
    const auto kb = key(*db);
    return ka < kb ? -1 : kb < ka ? 1 : 0;
  }
  if (da) return -1;
  if (db) return 1;
  const int c = sa.compare(sb);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Times compare as times of day whichever of the accepted forms they are written in.
int compareTimes(void*, int na, const void* a, int nb, const void* b) {
  const std::string_view sa(static_cast<const char*>(a), static_cast<std::size_t>(na));
  const std::string_view sb(static_cast<const char*>(b), static_cast<std::size_t>(nb));
  const auto ta = parseTime(sa);
  const auto tb = parseTime(sb);
  if (ta && tb) {
    const auto key = [](const DateTimeParts& d) {
      return std::array<int, 4>{d.hour, d.minute, d.second, d.millisecond};
    };
    const auto ka = key(*ta);
    const auto kb = key(*tb);
    return ka < kb ? -1 : kb < ka ? 1 : 0;
  }
  if (ta) return -1;
  if (tb) return 1;
  const int c = sa.compare(sb);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

struct Function {
  const char* name;
  int args;
  void (*fn)(sqlite3_context*, int, sqlite3_value**);
  bool deterministic;
};

constexpr Function kFunctions[] = {
    {"object_id", 1, objectId, false},
    {"object_id", 2, objectId, false},
    {"objectproperty", 2, objectProperty, false},
    {"db_name", 0, dbName, true},
    {"tsql_column_type", 2, columnType, true},
    {"len", 1, len, true},
    {"charindex", 2, charIndex, true},
    {"charindex", 3, charIndex, true},
    {"tsql_left", 2, tsqlLeft, true},
    {"tsql_right", 2, tsqlRight, true},
    {"tsql_add", 2, tsqlAdd, true},
    {"tsql_plus", 2, tsqlPlus, true},
    {"tsql_minus", 2, tsqlMinus, true},
    {"tsql_times", 2, tsqlTimes, true},
    {"tsql_int", 1, tsqlInt, true},
    {"tsql_bigint", 1, tsqlBigint, true},
    {"tsql_widen", 1, tsqlWiden, true},
    {"tsql_decimal", 1, tsqlDecimal, true},
    {"tsql_real", 1, tsqlReal, true},
    {"tsql_round", 2, tsqlRound, true},
    {"tsql_bitxor", 2, tsqlBitxor, true},
    {"tsql_divide", 2, tsqlDivide, true},
    {"tsql_modulo", 2, tsqlModulo, true},
    {"tsql_recursion_level", 2, recursionLevel, true},
    {"tsql_convert_text", 3, tsqlConvertText, true},
    {"tsql_datetime", 1, tsqlDatetime, true},
    {"tsql_time", 1, tsqlTime, true},
    {"tsql_datepart", 2, tsqlDatepart, true},
    {"tsql_datename", 2, tsqlDatepart, true},
    {"tsql_dateadd", 3, tsqlDateadd, true},
    {"tsql_datediff", 3, tsqlDatediff, true},
    {"year", 1, year, true},
    {"month", 1, month, true},
    {"day", 1, day, true},
};

constexpr const char* kCatalogueViews =
    "CREATE TEMP VIEW IF NOT EXISTS sysobjects AS SELECT rowid AS id, name, "
    "CASE %SHOWN% WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' WHEN 'trigger' THEN 'TR' ELSE 'K' END "
    "AS "
    "xtype, "
    "CASE %SHOWN% WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' WHEN 'trigger' THEN 'TR' ELSE 'K' END "
    "AS "
    "type, "
    "1 AS uid, 0 AS parent_obj FROM main.sqlite_master m WHERE type <> 'index' AND name NOT LIKE "
    "'sqlite\\_%' ESCAPE '\\';"
    "CREATE TEMP VIEW IF NOT EXISTS tempdb_sysobjects AS SELECT -rowid AS id, name, "
    "CASE type WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' WHEN 'trigger' THEN 'TR' ELSE 'K' END AS "
    "xtype, "
    "CASE type WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' WHEN 'trigger' THEN 'TR' ELSE 'K' END AS "
    "type, "
    "1 AS uid, 0 AS parent_obj FROM temp.sqlite_master WHERE type <> 'index' "
    "AND name NOT IN ('sysobjects', 'tempdb_sysobjects') AND name NOT LIKE "
    "'INFORMATION\\_SCHEMA.%' "
    "ESCAPE '\\';"
    // The standard catalogue views, over the database's own objects only: temporary tables live
    // in tempdb on the server. Names compare without regard to case, as under the server's
    // default collation.
    "CREATE TEMP VIEW IF NOT EXISTS \"INFORMATION_SCHEMA.TABLES\" AS SELECT "
    "db_name() COLLATE NOCASE AS TABLE_CATALOG, 'dbo' COLLATE NOCASE AS TABLE_SCHEMA, "
    "name COLLATE NOCASE AS TABLE_NAME, "
    "CASE type WHEN 'view' THEN 'VIEW' ELSE 'BASE TABLE' END COLLATE NOCASE AS TABLE_TYPE "
    "FROM main.sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite\\_%' "
    "ESCAPE '\\';"
    "CREATE TEMP VIEW IF NOT EXISTS \"INFORMATION_SCHEMA.VIEWS\" AS SELECT "
    "db_name() COLLATE NOCASE AS TABLE_CATALOG, 'dbo' COLLATE NOCASE AS TABLE_SCHEMA, "
    "name COLLATE NOCASE AS TABLE_NAME, sql AS VIEW_DEFINITION, "
    "'NONE' COLLATE NOCASE AS CHECK_OPTION, 'NO' COLLATE NOCASE AS IS_UPDATABLE "
    "FROM main.sqlite_master WHERE type = 'view';"
    "CREATE TEMP VIEW IF NOT EXISTS \"INFORMATION_SCHEMA.COLUMNS\" AS SELECT "
    "db_name() COLLATE NOCASE AS TABLE_CATALOG, 'dbo' COLLATE NOCASE AS TABLE_SCHEMA, "
    "m.name COLLATE NOCASE AS TABLE_NAME, p.name COLLATE NOCASE AS COLUMN_NAME, "
    "p.cid + 1 AS ORDINAL_POSITION, "
    "CASE WHEN p.dflt_value IS NULL THEN NULL "
    "WHEN p.dflt_value GLOB '[0-9]*' OR p.dflt_value GLOB '-[0-9]*' "
    "THEN '((' || p.dflt_value || '))' ELSE '(' || p.dflt_value || ')' END AS COLUMN_DEFAULT, "
    "CASE WHEN p.\"notnull\" OR p.pk > 0 THEN 'NO' ELSE 'YES' END COLLATE NOCASE AS IS_NULLABLE, "
    "tsql_column_type(p.type, 'type') COLLATE NOCASE AS DATA_TYPE, "
    "tsql_column_type(p.type, 'length') AS CHARACTER_MAXIMUM_LENGTH, "
    "tsql_column_type(p.type, 'octets') AS CHARACTER_OCTET_LENGTH, "
    "tsql_column_type(p.type, 'precision') AS NUMERIC_PRECISION, "
    "tsql_column_type(p.type, 'radix') AS NUMERIC_PRECISION_RADIX, "
    "tsql_column_type(p.type, 'scale') AS NUMERIC_SCALE, "
    "tsql_column_type(p.type, 'datetime') AS DATETIME_PRECISION, "
    "NULL AS CHARACTER_SET_CATALOG, NULL AS CHARACTER_SET_SCHEMA, NULL AS CHARACTER_SET_NAME, "
    "NULL AS COLLATION_CATALOG, NULL AS COLLATION_SCHEMA, NULL AS COLLATION_NAME, "
    "NULL AS DOMAIN_CATALOG, NULL AS DOMAIN_SCHEMA, NULL AS DOMAIN_NAME "
    "FROM main.sqlite_master m JOIN pragma_table_info(m.name, 'main') p "
    "WHERE m.type IN ('table', 'view') AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\';";

}  // namespace

bool registerServerFunctions(sqlite3* db) {
  // The functions read and set the bigint mark of their arguments and results (kBigintSubtype).
#ifdef SQLITE_RESULT_SUBTYPE
  constexpr int kSubtypes = SQLITE_SUBTYPE | SQLITE_RESULT_SUBTYPE;
#else
  constexpr int kSubtypes = SQLITE_SUBTYPE;
#endif
  constexpr int kFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | kSubtypes;
  for (const auto& f : kFunctions) {
    const int flags = SQLITE_UTF8 | kSubtypes | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
    if (sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr,
                                   nullptr) != SQLITE_OK) {
      return false;
    }
  }
  if (sqlite3_create_function_v2(db, "tsql_avg", 1, kFlags, nullptr, nullptr, totalStep,
                                 averageFinal, nullptr) != SQLITE_OK ||
      sqlite3_create_function_v2(db, "tsql_sum", 1, kFlags, nullptr, nullptr, totalStep, sumFinal,
                                 nullptr) != SQLITE_OK) {
    return false;
  }
  if (sqlite3_create_collation_v2(db, kDateCollation, SQLITE_UTF8, nullptr, compareDates,
                                  nullptr) != SQLITE_OK ||
      sqlite3_create_collation_v2(db, kTimeCollation, SQLITE_UTF8, nullptr, compareTimes,
                                  nullptr) != SQLITE_OK) {
    return false;
  }
  std::string views = kCatalogueViews;
  for (auto at = views.find("%SHOWN%"); at != std::string::npos; at = views.find("%SHOWN%"))
    views.replace(at, 7, kShownType);
  return sqlite3_exec(db, views.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace quillon::sql
