// The same T-SQL on an account file and on the test server: random expressions and queries over
// small random tables, each run on both engines through the dialect layer. Values are compared as
// T-SQL prints them (integers as digits, reals to twelve significant digits and equal within
// a ten-millionth of their size, texts as they are),
// rows as multisets unless the statement orders them (the texts of a statement that groups,
// removes duplicates or takes a MIN or MAX without regard to case: which spelling of a group T-SQL
// shows is not defined); two failures agree only when they are the same kind (divide by zero,
// arithmetic overflow, conversion, refused by the layer, other). A disagreement is printed with the
// tables' batch and the statement, both ready for `quillon sql`.
//
// QUILLON_DIFF_SEED replays a run, QUILLON_DIFF_COUNT sets its number of cases and
// QUILLON_DIFF_SECONDS a time budget that ends it sooner (make fuzz runs a long one);
// QUILLON_DIFF_FIRST starts at a given case, so that one case of a long run replays alone. The
// file-only half of the suite has no second engine and skips the comparison.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "sql/database.h"
#include "sql/locations.h"
#include "sql/sql_error.h"
#include "support/engine_values.h"
#include "support/scratch_dir.h"

namespace quillon::sql {
namespace {

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != 0 ? std::strtoull(text, nullptr, 10) : fallback;
}

// --- What a statement gave
// ------------------------------------------------------------------------

using test_support::failureKind;
using test_support::printed;

struct Outcome {
  std::string failure;                   // the kind of failure, empty when it ran
  std::string message;                   // the failure's text
  std::vector<std::string> rows;         // each row's printed values joined by " | "
  std::vector<std::vector<Value>> data;  // the rows' values, in the same order
};

bool sameRows(const Outcome& a, const Outcome& b) {
  return test_support::sameRows({a.rows, a.data}, {b.rows, b.data});
}

// The rows with their texts in lower case, in no order.
test_support::PrintedRows caseBlind(const Outcome& o) {
  auto rows = o.data;
  for (auto& row : rows) {
    for (Value& v : row) {
      if (v.kind != ValueKind::Text) continue;
      for (char& c : v.text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  return test_support::printedRows(rows, false);
}

// Whether a statement's texts may show any spelling of a group: it groups, removes duplicates
// or takes a MIN or MAX.
bool spellsGroups(const std::string& sql) {
  for (const char* word : {"GROUP BY", "DISTINCT", "UNION", "MIN(", "MAX("}) {
    if (sql.find(word) != std::string::npos) return true;
  }
  return false;
}

Outcome run(Database& db, const std::string& statement, bool ordered) {
  Outcome out;
  try {
    std::vector<std::vector<Value>> rows;
    for (auto& set : db.query(statement)) {
      for (auto& row : set.rows) rows.push_back(std::move(row));
    }
    auto printedRows = test_support::printedRows(rows, ordered);
    out.rows = std::move(printedRows.lines);
    out.data = std::move(printedRows.data);
  } catch (const std::exception& e) {
    out.failure = failureKind(e);
    out.message = e.what();
  }
  return out;
}

std::string describe(const Outcome& o) {
  if (!o.failure.empty()) return "error (" + o.failure + "): " + o.message;
  std::string s = std::to_string(o.rows.size()) + " rows";
  for (std::size_t i = 0; i < o.rows.size() && i < 8; ++i) s += "\n      " + o.rows[i];
  return s;
}

// --- Generator
// -------------------------------------------------------------------------------------

enum class Type { Int, Real, Text };

// t1 (id, a, b, c, d, e) and t2 (k, f, g, h, s): ids unique, the other columns small values with
// NULLs; some texts differ only by case, which T-SQL compares, groups and sorts as equal.
// Names differ between the tables, so a subquery's columns never need their table.
class Generator {
 public:
  explicit Generator(std::uint64_t seed) : rng_(seed) {}

  std::string tables() {
    std::string sql =
        "create table t1 (id int not null primary key, a int, b int, c decimal(10,2), d float, "
        "e varchar(10)) "
        "create table t2 (k int not null primary key, f int, g int, h decimal(10,2), s "
        "varchar(10)) ";
    const int n1 = 3 + pick(5);
    for (int r = 1; r <= n1; ++r) {
      sql += cat({"insert into t1 (id, a, b, c, d, e) values (", std::to_string(r), ", ",
                  maybe(smallInt()), ", ", maybe(smallInt()), ", ", maybe(decimal()), ", ",
                  maybe(decimal()), ", ", maybe(textLiteral()), ") "});
    }
    const int n2 = 2 + pick(5);
    for (int r = 1; r <= n2; ++r) {
      sql += cat({"insert into t2 (k, f, g, h, s) values (", std::to_string(r), ", ",
                  maybe(smallInt()), ", ", maybe(smallInt()), ", ", maybe(decimal()), ", ",
                  maybe(textLiteral()), ") "});
    }
    return sql;
  }

  struct Case {
    std::string sql;
    bool ordered = false;
  };

  Case statement() {
    switch (pick(10)) {
      case 0:
      case 1:
      case 2:
        return plainSelect();
      case 3:
        return orderedSelect();
      case 4:
      case 5:
        return grouped();
      case 6:
        return joined();
      case 7:
        return aggregateOnly();
      case 8: {
        // Without FROM: constants alone.
        constant_ = true;
        Case c{cat({"select ", expression(pick(3) == 0 ? Type::Real : Type::Int, 3), ", ",
                    expression(Type::Text, 2)}),
               false};
        constant_ = false;
        return c;
      }
      default:
        return plainSelect();
    }
  }

 private:
  int pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
  bool chance(int percent) { return pick(100) < percent; }

  std::string smallInt() { return std::to_string(pick(19) - 9); }
  std::string decimal() {
    const int cents = pick(2000) - 1000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", cents / 100.0);
    return buf;
  }
  std::string textLiteral() {
    static constexpr std::array<const char*, 9> kTexts{"apple", "Bob", "cat",   "dog", "",
                                                       "Eel",   "BOB", "Apple", "eel"};
    return std::string("'") + kTexts[static_cast<std::size_t>(pick(9))] + "'";
  }
  std::string maybe(const std::string& value) { return chance(20) ? "null" : value; }
  // Parts joined in the order written: the operands of "+" are evaluated in an order each
  // compiler picks, and each part may draw from the generator.
  static std::string cat(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& p : parts) out += p;
    return out;
  }

  std::string column(Type type) {
    if (constant_) return literal(type);
    if (inner_) {
      switch (type) {
        case Type::Int:
          return pick(2) == 0 ? "f" : "g";
        case Type::Real:
          return "h";
        case Type::Text:
          return "s";
      }
    }
    switch (type) {
      case Type::Int:
        return pick(2) == 0 ? "a" : "b";
      case Type::Real:
        return pick(2) == 0 ? "c" : "d";
      case Type::Text:
        return "e";
    }
    return "a";
  }

  std::string literal(Type type) {
    switch (type) {
      case Type::Int:
        // Now and then a value whose products and sums leave the int range.
        if (chance(4)) return chance(50) ? "2147483647" : std::to_string(46341 + pick(100000));
        return std::to_string(chance(80) ? pick(10) : pick(100));
      case Type::Real:
        return cat(
            {std::to_string(pick(100)), ".", std::to_string(pick(10)), chance(50) ? "5" : ""});
      case Type::Text:
        return textLiteral();
    }
    return "0";
  }

  // Signs before an operand: "+" on any type (T-SQL accepts it on texts too), "-" on numbers.
  std::string signed_(Type type, const std::string& operand) {
    if (!chance(20)) return operand;
    std::string signs;
    const int n = 1 + (chance(25) ? pick(3) : 0);
    for (int i = 0; i < n; ++i) {
      const char c = type == Type::Text || chance(40) ? '+' : '-';
      // "- -" must not become a comment.
      signs += c;
      signs += ' ';
    }
    return signs + operand;
  }

  std::string castType(Type type) {
    switch (type) {
      case Type::Int:
        return pick(4) == 0 ? "BIGINT" : pick(2) == 0 ? "INT" : "INTEGER";
      case Type::Real:
        return pick(3) == 0 ? "REAL" : pick(2) == 0 ? "FLOAT" : "DECIMAL(10,2)";
      case Type::Text:
        return "VARCHAR(20)";
    }
    return "INT";
  }

  std::string other(Type type) {
    // An operand of another numeric type for NULLIF's second argument and comparisons.
    return type == Type::Text ? literal(Type::Text)
                              : expression(chance(50) ? Type::Int : Type::Real, 1);
  }

  std::string expression(Type type, int depth) {
    if (depth <= 0 || chance(25)) {
      return signed_(type, chance(60) ? column(type) : literal(type));
    }
    const int form = pick(type == Type::Text ? 7 : 12);
    // A real CASE or COALESCE whose other results are ints: a decimal or float literal or
    // conversion among them makes every result a real.
    const bool mixed = type == Type::Real && chance(40);
    switch (form) {
      case 0:
        if (mixed) {
          return cat(
              {"COALESCE(", expression(Type::Int, depth - 1), ", ", evidentReal(depth - 1), ")"});
        }
        return cat(
            {"COALESCE(", expression(type, depth - 1), ", ", expression(type, depth - 1), ")"});
      case 1:
        // ISNULL has its first argument's type: a real one may start with an int, which cuts
        // the real to an int.
        if (type == Type::Real && chance(50)) {
          return cat(
              {"ISNULL(", expression(Type::Int, depth - 1), ", ", evidentReal(depth - 1), ")"});
        }
        return cat(
            {"ISNULL(", expression(type, depth - 1), ", ", expression(type, depth - 1), ")"});
      case 2:
        return cat({"NULLIF(", expression(type, depth - 1), ", ",
                    type == Type::Text ? expression(Type::Text, depth - 1) : other(type), ")"});
      case 3:
        if (mixed) {
          return cat({"CASE WHEN ", predicate(depth - 1), " THEN ",
                      expression(Type::Int, depth - 1), " ELSE ", evidentReal(depth - 1), " END"});
        }
        return cat({"CASE WHEN ", predicate(depth - 1), " THEN ", expression(type, depth - 1),
                    " ELSE ", expression(type, depth - 1), " END"});
      case 4:
        return cat({"CASE ", expression(Type::Int, depth - 1), " WHEN ", literal(Type::Int),
                    " THEN ", expression(type, depth - 1),
                    chance(50) ? "" : " ELSE " + expression(type, depth - 1), " END"});
      case 5:
        return signed_(type, "(" + expression(type, depth - 1) + ")");
      case 6:
        if (type == Type::Text)
          return cat({expression(Type::Text, depth - 1), " + ", literal(type)});
        return cat({"CAST(", expression(chance(50) ? Type::Int : Type::Real, depth - 1), " AS ",
                    castType(type), ")"});
      case 7:
      case 8:
      case 9: {
        static constexpr std::array<const char*, 5> kOps{" + ", " - ", " * ", " / ", " % "};
        const std::size_t op = static_cast<std::size_t>(pick(type == Type::Int ? 5 : 4));
        const Type left = type == Type::Real && chance(50) ? Type::Int : type;
        const Type right = type == Type::Real && left == Type::Int ? Type::Real : type;
        // Divisors are mostly non-zero literals, so that most statements give values.
        const std::string r =
            op >= 3 && chance(70) ? std::to_string(1 + pick(9)) : expression(right, depth - 1);
        return cat({expression(left, depth - 1), kOps[op], r});
      }
      case 10:
        // ROUND keeps its argument's type: an int rounds to tens or hundreds and stays an int.
        if (type == Type::Real) {
          return cat({"ROUND(", expression(Type::Real, depth - 1), ", ",
                      std::to_string(pick(4) - 1), ")"});
        }
        if (chance(50)) {
          return cat(
              {"ROUND(", expression(type, depth - 1), ", ", std::to_string(pick(4) - 2), ")"});
        }
        return "ABS(" + expression(type, depth - 1) + ")";
      default:
        if (inner_) return expression(type, depth - 1);
        return cat({"(SELECT ", chance(50) ? "MAX" : "MIN", "(", type == Type::Int ? "f" : "h",
                    ") FROM t2 WHERE g = ", column(Type::Int), ")"});
    }
  }

  // A real the statement shows as one: a literal with a decimal point, or a conversion.
  std::string evidentReal(int depth) {
    if (chance(50)) return literal(Type::Real);
    return cat({"CAST(", expression(Type::Int, depth), " AS ", castType(Type::Real), ")"});
  }

  std::string comparison(int depth) {
    static constexpr std::array<const char*, 6> kOps{" = ", " <> ", " < ", " > ", " <= ", " >= "};
    const int kind = pick(10);
    const Type type = kind < 5 ? Type::Int : kind < 8 ? Type::Real : Type::Text;
    const std::string left = expression(type, depth);
    switch (pick(8)) {
      case 0:
        return left + (chance(50) ? " IS NULL" : " IS NOT NULL");
      case 1:
        return cat({left, chance(30) ? " NOT" : "", " BETWEEN ", expression(type, depth), " AND ",
                    expression(type, depth)});
      case 2: {
        std::string list = literal(type);
        for (int i = pick(4); i > 0; --i) list += ", " + literal(type);
        if (chance(15)) list += ", NULL";
        const std::string negated = chance(30) ? " NOT" : "";
        return left + negated + " IN (" + list + ")";
      }
      case 3:
        if (!inner_ && type != Type::Real) {
          inner_ = true;
          const std::string sub = "SELECT " + std::string(type == Type::Int ? "f" : "s") +
                                  " FROM t2" +
                                  (chance(50) ? " WHERE " + predicate(0) : std::string());
          inner_ = false;
          const std::string negated = chance(30) ? " NOT" : "";
          return left + negated + " IN (" + sub + ")";
        }
        [[fallthrough]];
      case 4:
        if (!inner_) {
          inner_ = true;
          const std::string where = predicate(0);
          inner_ = false;
          return cat({chance(30) ? "NOT " : "", "EXISTS (SELECT 1 FROM t2 WHERE g = ",
                      column(Type::Int), " AND ", where, ")"});
        }
        [[fallthrough]];
      default:
        return cat({left, kOps[static_cast<std::size_t>(pick(6))],
                    type == Type::Text ? expression(Type::Text, depth) : other(type)});
    }
  }

  std::string predicate(int depth) {
    std::string p = comparison(depth > 0 ? 1 : 0);
    if (depth > 0 && chance(30)) p = "(" + predicate(depth - 1) + ")";
    if (chance(20)) p = "NOT " + p;
    if (depth > 0 && chance(30)) p += cat({chance(50) ? " AND " : " OR ", predicate(depth - 1)});
    return p;
  }

  std::string selectList(int n) {
    std::string list;
    for (int i = 0; i < n; ++i) {
      const int t = pick(10);
      const Type type = t < 5 ? Type::Int : t < 8 ? Type::Real : Type::Text;
      list += (i > 0 ? ", " : "") + expression(type, 3);
      if (chance(30)) list += " AS col" + std::to_string(i);
    }
    return list;
  }

  Case plainSelect() {
    // Now and then without duplicates, which the server is given as grouping.
    std::string sql =
        cat({chance(20) ? "SELECT DISTINCT " : "SELECT ", selectList(1 + pick(3)), " FROM t1"});
    if (chance(60)) sql += " WHERE " + predicate(2);
    return {sql, false};
  }

  Case orderedSelect() {
    return {cat({"SELECT id, ", selectList(1 + pick(2)), " FROM t1",
                 chance(50) ? " WHERE " + predicate(2) : std::string(), " ORDER BY id",
                 chance(50) ? " DESC" : ""}),
            true};
  }

  std::string aggregate() {
    static constexpr std::array<const char*, 5> kFunctions{"SUM", "AVG", "MIN", "MAX", "COUNT"};
    const std::string fn = kFunctions[static_cast<std::size_t>(pick(5))];
    const int t = pick(10);
    const Type type = fn == "SUM" || fn == "AVG" ? (t < 7 ? Type::Int : Type::Real)
                      : t < 5                    ? Type::Int
                      : t < 8                    ? Type::Real
                                                 : Type::Text;
    std::string arg = expression(type, type == Type::Text ? 0 : 1);
    if (chance(10)) arg = "DISTINCT " + arg;
    std::string call = fn + "(" + arg + ")";
    if (chance(30) && type == Type::Int) call += " / " + std::to_string(1 + pick(9));
    if (chance(15) && type == Type::Int) call += " * " + std::to_string(pick(30));
    return signed_(type == Type::Text ? Type::Text : Type::Int, call);
  }

  // GROUP BY a column, named in the select list as itself or under an alias that may be another
  // column's name; HAVING holds aggregates and the grouped column.
  Case grouped() {
    static constexpr std::array<const char*, 3> kGroups{"a", "b", "e"};
    const std::string group = kGroups[static_cast<std::size_t>(pick(3))];
    std::string alias;
    if (chance(40)) alias = chance(50) ? " AS b" : " c";
    std::string sql = "SELECT " + group + alias;
    // Now and then a column that is neither grouped nor aggregated, which T-SQL refuses.
    if (chance(5)) sql += std::string(", ") + (chance(50) ? "id" : "t1.d");
    // An expression of an ungrouped column, refused too, or of the grouped one.
    if (chance(5)) sql += std::string(", ") + (chance(50) ? "id + 1" : "ABS(t1.d) * 2");
    if (chance(10)) sql += ", " + (group == "e" ? "LTRIM(e) + 'x'" : group + " * 2 + 1");
    for (int i = pick(3); i >= 0; --i) sql += ", " + aggregate();
    sql += ", COUNT(*) FROM t1";
    if (chance(40)) sql += " WHERE " + predicate(1);
    sql += " GROUP BY " + group;
    if (chance(50)) {
      const std::string having = cat({chance(50) ? "SUM(" : "AVG(", expression(Type::Int, 1), ")"});
      sql += cat({" HAVING ", signed_(Type::Int, having),
                  kOpsLess[static_cast<std::size_t>(pick(3))], literal(Type::Int)});
      if (chance(30)) sql += " OR " + group + " IS NULL";
    }
    return {sql, false};
  }
  static constexpr std::array<const char*, 3> kOpsLess{" < ", " > ", " <> "};

  Case aggregateOnly() {
    std::string sql = "SELECT " + aggregate();
    for (int i = pick(2); i > 0; --i) sql += ", " + aggregate();
    sql += " FROM t1";
    if (chance(50)) sql += " WHERE " + predicate(1);
    return {sql, false};
  }

  Case joined() {
    const bool left = chance(40);
    std::string sql = cat({"SELECT id, k, ", selectList(1 + pick(2)), ", f FROM t1 ",
                           left ? "LEFT JOIN" : "JOIN", " t2 ON ", chance(70) ? "a = g" : "e = s"});
    if (chance(50)) sql += " WHERE " + predicate(1);
    return {sql, false};
  }

  std::mt19937_64 rng_;
  bool inner_ = false;     // writing a subquery over t2
  bool constant_ = false;  // writing a select without FROM
};

// --- The run -------------------------------------------------------------------------------------

class EngineDifferential : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* server = std::getenv("QUILLON_TEST_SERVER");
    if (server == nullptr || *server == 0)
      GTEST_SKIP() << "compares the account file with the server: runs in the server half";
    file_ = Database::open((scratch_.path() / "diff.db").string());
    serverLocation_ = Location(server).withDatabaseName("diff" + std::to_string(::getpid())).text();
    server_ = Database::open(serverLocation_);
  }
  void TearDown() override {
    server_.reset();
    if (!serverLocation_.empty()) {
      try {
        Location(serverLocation_).drop();
      } catch (const std::exception&) {
        // the test server goes at the end of the run in any case
      }
    }
  }

  void fresh(const std::string& tables) {
    for (Database* db : {file_.get(), server_.get()}) {
      db->execute(
          "if object_id('t1') is not null drop table t1 "
          "if object_id('t2') is not null drop table t2");
      db->execute(tables);
    }
  }

  test_support::ScratchDir scratch_;
  std::string serverLocation_;
  std::unique_ptr<Database> file_;
  std::unique_ptr<Database> server_;
};

TEST_F(EngineDifferential, RandomStatementsGiveTheSameAnswerOnBothEngines) {
  const std::uint64_t seed = fromEnvironment("QUILLON_DIFF_SEED", 20260301);
  const std::uint64_t count = fromEnvironment("QUILLON_DIFF_COUNT", 3000);
  const std::uint64_t first = fromEnvironment("QUILLON_DIFF_FIRST", 0);
  const std::uint64_t budget = fromEnvironment("QUILLON_DIFF_SECONDS", 0);  // 0: no time limit
  constexpr std::uint64_t kCasesPerTables = 250;
  std::printf("differential: QUILLON_DIFF_SEED=%llu QUILLON_DIFF_FIRST=%llu, up to %llu cases%s\n",
              static_cast<unsigned long long>(seed), static_cast<unsigned long long>(first),
              static_cast<unsigned long long>(count),
              budget != 0 ? (" or " + std::to_string(budget) + " s").c_str() : "");
  std::fflush(stdout);
  const auto started = std::chrono::steady_clock::now();
  const auto deadline = started + std::chrono::seconds(budget);
  std::uint64_t disagreements = 0;
  std::uint64_t answered = 0;
  std::map<std::string, std::uint64_t> failures;  // agreed failures by kind
  std::map<std::string, std::string> examples;    // the first statement of each kind
  std::string tables;
  std::uint64_t ran = 0;
  for (std::uint64_t i = first; i < first + count; ++i, ++ran) {
    if (budget != 0 && ran % 50 == 0 && std::chrono::steady_clock::now() >= deadline) break;
    // Every run of cases has tables of its own; case i depends on the seed and i alone.
    Generator gen(seed * 1000003 + i);
    if (i == first || i % kCasesPerTables == 0) {
      Generator tableGen(seed * 7919 + i / kCasesPerTables);
      tables = tableGen.tables();
      fresh(tables);
    }
    const auto c = gen.statement();
    const Outcome onFile = run(*file_, c.sql, c.ordered);
    const Outcome onServer = run(*server_, c.sql, c.ordered);
    const bool same = onFile.failure.empty() && onServer.failure.empty()
                          ? sameRows(onFile, onServer) ||
                                (spellsGroups(c.sql) &&
                                 test_support::sameRows(caseBlind(onFile), caseBlind(onServer)))
                          : onFile.failure == onServer.failure;
    // T-SQL leaves to the plan whether a division in a branch or a row that does not decide the
    // answer is evaluated at all: a zero divisor there may fail on one engine only. So may an int
    // beyond its range: the server folds constants in branches no row takes, and each engine
    // orders the operands of OR and AND its own way. Counted by side, so that a wrong type on
    // one engine shows as a count out of proportion (the overflow tests of tests/sql decide it).
    const bool unevaluated = (onFile.failure == "divide by zero" && onServer.failure.empty()) ||
                             (onServer.failure == "divide by zero" && onFile.failure.empty());
    if (unevaluated) {
      ++failures["divide by zero on one engine (evaluation order)"];
      continue;
    }
    if (onServer.failure == "overflow" && onFile.failure.empty()) {
      ++failures["overflow on the server only (evaluation order)"];
      continue;
    }
    if (onFile.failure == "overflow" && onServer.failure.empty()) {
      ++failures["overflow on the file only (evaluation order)"];
      continue;
    }
    // Two failing expressions: which fails first is the plan's.
    const auto arithmetic = [](const std::string& f) {
      return f == "divide by zero" || f == "overflow";
    };
    if (!same && arithmetic(onFile.failure) && arithmetic(onServer.failure)) {
      ++failures["divide by zero on one engine, overflow on the other (evaluation order)"];
      continue;
    }
    if (same) {
      if (onFile.failure.empty()) {
        ++answered;
      } else {
        ++failures[onFile.failure];
        examples.emplace(onFile.failure, c.sql + "\n    file:   " + onFile.message +
                                             "\n    server: " + onServer.message);
      }
      continue;
    }
    if (++disagreements <= 10) {
      ADD_FAILURE() << "case " << i << " of seed " << seed
                    << " (replay it alone: QUILLON_DIFF_SEED=" << seed
                    << " QUILLON_DIFF_FIRST=" << i
                    << " QUILLON_DIFF_COUNT=1):\n  tables: " << tables << "\n  statement: " << c.sql
                    << "\n  file:   " << describe(onFile) << "\n  server: " << describe(onServer);
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::string agreedFailures;
  for (const auto& [kind, n] : failures) agreedFailures += " " + kind + ": " + std::to_string(n);
  std::printf("%llu cases in %.1f s: %llu answered alike, %llu disagreements; failed alike:%s\n",
              static_cast<unsigned long long>(ran), seconds,
              static_cast<unsigned long long>(answered),
              static_cast<unsigned long long>(disagreements), agreedFailures.c_str());
  for (const auto& [kind, example] : examples)
    std::printf("first statement that failed alike (%s): %s\n", kind.c_str(), example.c_str());
  EXPECT_EQ(disagreements, 0u) << "seed " << seed;
  // The generator writes statements T-SQL runs: most of them have to give rows on both engines,
  // or the comparison compares nothing.
  EXPECT_GT(answered, ran * 3 / 4);
}

// T-SQL's answers to statements whose types and comparisons the engines' own rules would answer
// otherwise: both engines have to give them.
TEST_F(EngineDifferential, TypesAndComparisonsFollowTSql) {
  fresh(
      "create table t1 (a int, e varchar(10), q decimal(10,2)) create table t2 (k int) "
      "insert into t1 values (1, 'Apple', 2.5) insert into t1 values (2, 'apple', null) "
      "insert into t1 values (3, 'BOB', 7.25)");
  const std::vector<std::pair<std::string, std::string>> cases{
      // Text expressions compare without regard to case, as text columns do.
      {"select count(*) from t1 where ltrim(e) = 'APPLE'", "2"},
      {"select count(*) from t1 where e + 'x' = 'APPLEX'", "2"},
      {"select count(*) from t1 where upper(e) between 'apple' and 'apple'", "2"},
      {"select count(*) from t1 where 'apple' in (lower(e))", "2"},
      {"select count(*) from t1 where case when a > 0 then e else 'x' end = 'bob'", "1"},
      {"select count(*) from t1 where nullif('Eel', 'dog') < e", "0"},
      {"select count(*) from t1 where e between nullif('APPLE', 'dog') and 'apple'", "2"},
      // Ints keep to the int range; a bigint conversion widens.
      {"select a * 2147483647 from t1 where a = 3", "error (overflow)"},
      {"select sum(a) * 1000000000 from t1", "error (overflow)"},
      {"select avg(a) * 2147483647 from t1", "error (overflow)"},
      {"select convert(bigint, a) * 2147483647 from t1 where a = 3", "6442450941"},
      {"select case when a > 0 then convert(bigint, a) else 0 end * 2147483647 from t1 where a = 3",
       "6442450941"},
      // A decimal among the results of CASE and COALESCE makes them decimals.
      {"select coalesce(a, 2.5) / 2 from t1 where a = 3", "1.5"},
      {"select case when a > 1 then a else 0.5 end / 2 from t1 where a = 3", "1.5"},
      // ISNULL has its first argument's type (an int cuts a real to an int); COALESCE and CASE
      // take a decimal column's type over an int's.
      {"select isnull(a, 2.5) / 2, isnull(null, 2.5) / 2 from t1 where a = 3", "1 | 1.25"},
      {"select isnull(q, 5) / 2, isnull(convert(int, q), 2.7) from t1 where a = 2", "2.5 | 2"},
      {"select isnull(nullif(a, 2), -2.7) from t1 where a = 2", "-2"},
      {"select isnull(cast(nullif(a, 2) as bigint), 56.45) from t1 where a = 2", "56"},
      // An int first argument cuts a second one that is a decimal column, negated, in a CASE or
      // in a sub-select; a decimal sub-select first makes an int second a real. The server takes
      // each type of a column per call, texts and ints included.
      {"select isnull(1 / 1, - q) / 3, isnull(nullif(a, 3), q) / 2, "
       "isnull(nullif(a, 3), case when a > 0 then -q end) / 2, "
       "isnull(nullif(a, 3), (select max(q) from t1)) / 2, "
       "isnull((select max(q) from t1 where a = 9), - 8 / 7) / 5 from t1 where a = 3",
       "0 | 3 | -3 | 3 | -0.2"},
      {"select isnull(nullif(a, 3), a + 1), isnull(nullif(e, 'BOB'), e), "
       "isnull((select max(q) from t1), 1) / 2, isnull(convert(bigint, nullif(a, 3)) * q, 70.4) "
       "from t1 where a = 3",
       "4 | 'BOB' | 3.625 | 70.4"},
      {"select count(*) from t1 where isnull(nullif(e, 'BOB'), e) = 'bob'", "1"},
      // A conversion to int cuts a real as the decimal its 15 significant digits write.
      {"select cast((81.85) - - - 18.85 as int), convert(bigint, (0.7 + 0.1) * 10)", "63 | 8"},
      // An alias of the list names a column of the result, not the table's column in the list;
      // a derived table's column is no table column.
      {"select q as a, isnull(a, 2.5) from t1 where a = 3", "7.25 | 3"},
      {"select sum(isnull(q, 2.5) / 2) from (select 3 as q from t1) d", "3"},
      {"select coalesce(18 / 7, q) / 6, case when a > 0 then 7 else q end / 2 from t1 where a = 2",
       "0.333333333333 | 3.5"},
      // An operation fails only where a row reaches it, also one of two constants.
      {"select case when a > 100 then 2147483647 + 1 when a < 0 then 1 / 0 else a end from t1 "
       "where a = 3",
       "3"},
      // A grouped select lists grouped columns and aggregates only; an alias never names a
      // column of GROUP BY.
      {"select a as e from t1 group by e", "error (refused)"},
      {"select e, a from t1 group by e", "error (refused)"},
      {"select a e, count(*) from t1 group by a having a > 2", "3 | 1"},
      // Also a column inside an expression, in the list or in HAVING; an expression of GROUP BY
      // passes whole, and so do aggregates, type names, date parts, sub-selects and a column of
      // an outer select.
      {"select a + 1 from t1 group by e", "error (refused)"},
      {"select count(*) from t1 group by a having q > 1", "error (refused)"},
      {"select upper(e) + 'x' from t1 group by a", "error (refused)"},
      {"select a + 1, count(*) from t1 group by a + 1 having a + 1 > 2", "3 | 1; 4 | 1"},
      {"select convert(varchar(5), a) + 'x', cast(sum(q) as int), (select count(*) from t2) + a, "
       "datediff(day, '2024-01-01', '2024-01-03') * a from t1 where a = 3 group by a",
       "'3x' | 7 | 3 | 6"},
      {"select a from t1 where exists (select k from t2 group by k having k > t1.a)", ""},
      // The remainder of decimals.
      {"select q % 2 from t1 where a = 3", "1.25"},
      // Text expressions group, sort and remove duplicates without regard to case too.
      {"select count(*) from (select ltrim(e) as x from t1 group by ltrim(e)) d", "2"},
      {"select count(*) from (select e + '' as x, count(*) as n from t1 group by e + '') d", "2"},
      {"select count(*) from (select upper(ltrim(e)) + 'x' as x from t1 group by ltrim(e)) d", "2"},
      {"select a from t1 order by ltrim(e), a", "1; 2; 3"},
      {"select a from t1 order by case when a > 0 then e + '' end desc, a", "3; 1; 2"},
      {"select count(*) from (select distinct ltrim(e) as x from t1) d", "2"},
      {"select count(*) from (select rtrim(e) as x from t1 union select upper(e) from t1) d", "2"},
      {"select count(*) from (select 'A' as x union select 'a' union select lower(e) from t1) d",
       "3"},
      {"select lower(min(ltrim(e))), lower(max(e + '')), count(distinct ltrim(e)) from t1",
       "'apple' | 'bob' | 2"},
      {"select count(*) from t1 where ltrim(e) in ('APPLE', 'x')", "2"},
      {"select count(nullif(e, ltrim('APPLE'))), count(nullif('Bob', 'BOB')), "
       "count(nullif(e + 'x', (lower(e) + 'X'))) from t1",
       "1 | 0 | 0"},
      // Also under a unary plus, and a CASE of texts; NULLIF's result is a text.
      {"select count(nullif(+ (+ 'apple'), e)), count(nullif(+ + (e + 'x'), + e + 'X')), "
       "count(nullif(+ (case when a > 0 then 'APPLE' end), e)), "
       "count(nullif(e, + + (case when a > 0 then 'bob' end))) from t1",
       "1 | 0 | 1 | 2"},
      {"select count(*) from t1 where nullif(+ (+ 'apple'), 'x') = e", "2"},
      // ROUND keeps an int an int, rounds half away from zero, also to tens.
      {"select round(a, 0) / 2, round(a * 5, -1), round(-a * 5, -1) from t1 where a = 3",
       "1 | 20 | -20"},
      {"select round(q, 0), round(q, 1), round(-q, -1), round(2.675, 2) from t1 where a = 3",
       "7 | 7.3 | -10 | 2.68"},
      // A real already at the places asked keeps its value (also a difference a hair off its
      // decimal, and a negative zero, which is a zero); halves of the decimal round away from
      // zero on both sides of it.
      {"select round(q - 0.25, 2), round(q * 0.1, 3), round(0.1 + 0.2, 2), round(a - q, 1), "
       "round(q - 7.25, 2), round(-(q - 7.25), 0) from t1 where a = 3",
       "7 | 0.725 | 0.3 | -4.3 | 0 | 0"},
      {"select round(q * 0.1, 2), round(-q * 0.1, 2), round(q / 5, 1), round(-q / 5, 1), "
       "round(0.285, 2), round(-0.285, 2), round(1.005, 2) from t1 where a = 3",
       "0.73 | -0.73 | 1.5 | -1.5 | 0.29 | -0.29 | 1.01"},
      // Beyond 15 digits, past the point or before it, and NULL.
      {"select round(q * 1000000000000, 2), round(q / 1000000000000000, 15), "
       "round(q / 1000000000000000, 16), round(q * 100000000000000000, -16), round(q, -3), "
       "round(q, null), round(cast(null as float), 2) from t1 where a = 3",
       "7250000000000 | 7e-15 | 7.3e-15 | 7.3e+17 | 0 | NULL | NULL"},
      // A rounded value rounded again, as the outsourced lists' filters do.
      {"select round(q - round(q * 0.1, 2), 1), round(isnull(q, 0) - round(isnull(q, 0) / 3, 2), "
       "2), "
       "round(a - round(a * 1.5, 0), 0) from t1 where a = 3",
       "6.5 | 4.83 | -2"},
      // An integer keeps its value to places at or after the point.
      {"select round(a * 7, 0), round(-a * 7, 5), round(a * 7, -1) from t1 where a = 3",
       "21 | -21 | 20"},
  };
  for (const auto& [sql, expected] : cases) {
    for (Database* db : {file_.get(), server_.get()}) {
      const Outcome o = run(*db, sql, sql.find("order by") != std::string::npos);
      std::string got = o.failure.empty() ? "" : "error (" + o.failure + ")";
      for (const auto& row : o.rows) got += (got.empty() ? "" : "; ") + row;
      EXPECT_EQ(got, expected) << (db == file_.get() ? "file: " : "server: ") << sql << "\n"
                               << o.message;
    }
  }
}

}  // namespace
}  // namespace quillon::sql
