// Random arithmetic and comparison expressions over integer columns and literals, run through the
// dialect layer on a real database and evaluated here by the server's rules: signs bind to the
// operand after them, then * / %, then + - & | ^ from left to right, then comparisons, NOT, AND,
// OR. Any difference is a translation fault; the run prints the seed, the expression and the
// engine text of the first ones. QUILLON_EXPR_SEED and QUILLON_EXPR_COUNT replay or widen a run.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "sql/database.h"
#include "sql/translator.h"

namespace quillon::sql {
namespace {

constexpr std::size_t kRows = 4;
using Values = std::array<std::int64_t, kRows>;

// Columns a, b, c, d of the rows id 1..4: signs, zero and one on both sides.
constexpr std::array<const char*, 4> kColumns{"a", "b", "c", "d"};
constexpr std::array<Values, 4> kColumnValues{{
    {5, -2, 0, 13},
    {7, 3, -6, 2},
    {-3, 11, 4, -1},
    {0, 1, 9, -8},
}};

struct Expr {
  std::string sql;
  Values v{};
};

struct Pred {
  std::string sql;
  std::array<bool, kRows> v{};
};

// Generates expression text and its value on every row at once. Values stay within int, the
// server's type for these operands; an expression that would leave it, or divide by zero on some
// row, is thrown away.
class Generator {
 public:
  explicit Generator(std::uint64_t seed) : rng_(seed) {}

  Expr expression() { return fresh(2); }
  Pred predicate() { return orPredicate(2); }

 private:
  int pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
  bool chance(int percent) { return pick(100) < percent; }

  // Joins two pieces of text with a blank or without; "- -" must not become a comment.
  std::string join(const std::string& left, const std::string& right) {
    if (left.empty()) return right;
    const bool needBlank = left.back() == '-' && right.front() == '-';
    return left + (needBlank || chance(50) ? " " : "") + right;
  }

  std::int64_t checked(std::int64_t x) {
    if (x > std::numeric_limits<std::int32_t>::max() ||
        x < std::numeric_limits<std::int32_t>::min()) {
      spoiled_ = true;
      return 0;
    }
    return x;
  }

  // An expression whose value is defined on every row.
  Expr fresh(int depth) {
    while (true) {
      spoiled_ = false;
      Expr e = additive(depth);
      if (!spoiled_) return e;
    }
  }

  Expr primary(int depth) {
    Expr e;
    const int kind = pick(depth > 0 ? 10 : 7);
    if (kind < 4) {
      e.sql = kColumns[static_cast<std::size_t>(kind)];
      e.v = kColumnValues[static_cast<std::size_t>(kind)];
    } else if (kind < 7) {
      const int n = pick(10) < 8 ? pick(10) : pick(100);
      e.sql = std::to_string(n);
      e.v.fill(n);
    } else {
      const Expr inner = additive(depth - 1);
      e.sql = join(join("(", inner.sql), ")");
      e.v = inner.v;
    }
    return e;
  }

  Expr factor(int depth) {
    // Signs are applied inside out: the one nearest the operand first.
    std::array<char, 3> signs{};
    const int n = chance(30) ? 1 + pick(chance(20) ? 3 : 1) : 0;
    for (int i = 0; i < n; ++i)
      signs[static_cast<std::size_t>(i)] = chance(8) ? '~' : chance(50) ? '-' : '+';
    Expr e = primary(depth);
    for (int i = n - 1; i >= 0; --i) {
      const char c = signs[static_cast<std::size_t>(i)];
      for (auto& x : e.v) x = checked(c == '-' ? -x : c == '~' ? ~x : x);
    }
    std::string text;
    for (int i = 0; i < n; ++i)
      text = join(text, std::string(1, signs[static_cast<std::size_t>(i)]));
    e.sql = join(text, e.sql);
    return e;
  }

  Expr term(int depth) {
    Expr e = factor(depth);
    const int more = chance(35) ? 1 + pick(2) : 0;
    for (int i = 0; i < more; ++i) {
      const char op = chance(70) ? '*' : chance(50) ? '/' : '%';
      const Expr r = factor(depth);
      for (std::size_t k = 0; k < kRows; ++k) {
        if (op != '*' && r.v[k] == 0) {
          spoiled_ = true;
          continue;
        }
        // Integer division and remainder truncate toward zero, as on the server.
        e.v[k] = checked(op == '*'   ? e.v[k] * r.v[k]
                         : op == '/' ? e.v[k] / r.v[k]
                                     : e.v[k] % r.v[k]);
      }
      e.sql = join(join(e.sql, std::string(1, op)), r.sql);
    }
    return e;
  }

  Expr additive(int depth) {
    Expr e = term(depth);
    const int more = pick(3);
    for (int i = 0; i < more; ++i) {
      const int which = pick(100);
      const char op = which < 45   ? '+'
                      : which < 90 ? '-'
                      : which < 94 ? '&'
                      : which < 97 ? '|'
                                   : '^';
      const Expr r = term(depth);
      for (std::size_t k = 0; k < kRows; ++k) {
        const std::int64_t x = e.v[k];
        const std::int64_t y = r.v[k];
        e.v[k] = checked(op == '+'   ? x + y
                         : op == '-' ? x - y
                         : op == '&' ? (x & y)
                         : op == '|' ? (x | y)
                                     : (x ^ y));
      }
      e.sql = join(join(e.sql, std::string(1, op)), r.sql);
    }
    return e;
  }

  Pred comparison() {
    const Expr l = fresh(1);
    Pred p;
    if (chance(10)) {
      const Expr lo = fresh(1);
      const Expr hi = fresh(1);
      const bool negated = chance(30);
      for (std::size_t k = 0; k < kRows; ++k)
        p.v[k] = (lo.v[k] <= l.v[k] && l.v[k] <= hi.v[k]) != negated;
      p.sql = l.sql + (negated ? " not between " : " between ") + lo.sql + " and " + hi.sql;
      return p;
    }
    static constexpr std::array<const char*, 9> kOps{"=",  "<>", "!=", "<", ">",
                                                     "<=", ">=", "!<", "!>"};
    const int op = pick(static_cast<int>(kOps.size()));
    const Expr r = fresh(1);
    for (std::size_t k = 0; k < kRows; ++k) {
      const std::int64_t x = l.v[k];
      const std::int64_t y = r.v[k];
      switch (op) {
        case 0:
          p.v[k] = x == y;
          break;
        case 1:
        case 2:
          p.v[k] = x != y;
          break;
        case 3:
          p.v[k] = x < y;
          break;
        case 4:
          p.v[k] = x > y;
          break;
        case 5:
        case 8:
          p.v[k] = x <= y;
          break;
        default:
          p.v[k] = x >= y;
          break;
      }
    }
    p.sql = join(join(l.sql, kOps[static_cast<std::size_t>(op)]), r.sql);
    return p;
  }

  Pred notPredicate(int depth) {
    Pred p;
    if (depth > 0 && chance(20)) {
      const Pred inner = orPredicate(depth - 1);
      p.sql = "(" + inner.sql + ")";
      p.v = inner.v;
    } else {
      p = comparison();
    }
    if (chance(20)) {
      p.sql = "not " + p.sql;
      for (auto& x : p.v) x = !x;
    }
    return p;
  }

  Pred andPredicate(int depth) {
    Pred p = notPredicate(depth);
    while (chance(25)) {
      const Pred r = notPredicate(depth);
      for (std::size_t k = 0; k < kRows; ++k) p.v[k] = p.v[k] && r.v[k];
      p.sql += " and " + r.sql;
    }
    return p;
  }

  Pred orPredicate(int depth) {
    Pred p = andPredicate(depth);
    while (chance(25)) {
      const Pred r = andPredicate(depth);
      for (std::size_t k = 0; k < kRows; ++k) p.v[k] = p.v[k] || r.v[k];
      p.sql += " or " + r.sql;
    }
    return p;
  }

  std::mt19937_64 rng_;
  bool spoiled_ = false;
};

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != 0 ? std::strtoull(text, nullptr, 10) : fallback;
}

std::string engineText(const std::string& tsql) {
  try {
    const Program p = Translator::translateUncached(tsql);
    return p.empty() ? std::string() : p.front().sql;
  } catch (const std::exception& e) {
    return std::string("<") + e.what() + ">";
  }
}

TEST(ExpressionDifferential, ArithmeticAndComparisonsFollowTheServersPrecedence) {
  const std::uint64_t seed = fromEnvironment("QUILLON_EXPR_SEED", 20250525);
  const std::uint64_t count = fromEnvironment("QUILLON_EXPR_COUNT", 100000);
  auto db = Database::open(":memory:");
  db->execute("create table t (id int, a int, b int, c int, d int)");
  for (std::size_t r = 0; r < kRows; ++r) {
    std::string values = std::to_string(r + 1);
    for (const auto& column : kColumnValues) values += ", " + std::to_string(column[r]);
    db->execute("insert into t values (" + values + ")");
  }

  Generator gen(seed);
  constexpr std::size_t kPerSelect = 400;  // value columns of one select
  constexpr std::size_t kPerUnion = 100;   // WHERE clauses of one union
  std::uint64_t checked = 0;
  std::uint64_t faults = 0;
  const auto report = [&](std::uint64_t index, const std::string& tsql, std::size_t row,
                          const std::string& expected, const std::string& got) {
    ++faults;
    if (faults > 10) return;
    ADD_FAILURE() << "seed " << seed << ", expression " << index << ", row id " << row + 1
                  << ":\n  T-SQL:  " << tsql << "\n  engine: " << engineText(tsql)
                  << "\n  expected " << expected << ", got " << got;
  };

  while (checked < count) {
    // Values and predicates as columns of one select over the four rows.
    std::vector<Expr> values;
    std::vector<Pred> preds;
    std::string sql = "select ";
    for (std::size_t i = 0; i < kPerSelect && checked + i < count; ++i) {
      if (i > 0) sql += ", ";
      if (i % 3 == 2) {
        preds.push_back(gen.predicate());
        values.push_back({});
        sql += "case when " + preds.back().sql + " then 1 else 0 end";
      } else {
        values.push_back(gen.expression());
        preds.push_back({});
        sql += values.back().sql;
      }
    }
    sql += " from t order by id";
    const auto rs = db->query(sql);
    ASSERT_EQ(rs.size(), 1u);
    ASSERT_EQ(rs[0].rows.size(), kRows);
    for (std::size_t i = 0; i < values.size(); ++i) {
      const bool isPred = i % 3 == 2;
      for (std::size_t r = 0; r < kRows; ++r) {
        const Value& got = rs[0].rows[r][i];
        const std::int64_t want = isPred ? (preds[i].v[r] ? 1 : 0) : values[i].v[r];
        if (got.kind != ValueKind::Integer || got.integer != want) {
          const std::string text = isPred ? preds[i].sql : values[i].sql;
          report(checked + i,
                 isPred ? "select case when " + text + " then 1 else 0 end from t"
                        : "select " + text + " from t",
                 r, std::to_string(want),
                 got.kind == ValueKind::Integer ? std::to_string(got.integer) : got.text);
          break;
        }
      }
    }
    checked += values.size();

    // Predicates in WHERE clauses, which is where the library writes most of them.
    std::vector<Pred> wheres;
    std::string uni;
    for (std::size_t i = 0; i < kPerUnion && checked + i < count; ++i) {
      wheres.push_back(gen.predicate());
      if (i > 0) uni += " union all ";
      uni += "select " + std::to_string(i) + " as k, id from t where " + wheres.back().sql;
    }
    if (wheres.empty()) break;
    std::vector<std::array<bool, kRows>> found(wheres.size());
    const auto hits = db->query(uni + " order by k, id");
    ASSERT_EQ(hits.size(), 1u);
    for (const auto& row : hits[0].rows) {
      found[static_cast<std::size_t>(row[0].integer)]
           [static_cast<std::size_t>(row[1].integer - 1)] = true;
    }
    for (std::size_t i = 0; i < wheres.size(); ++i) {
      for (std::size_t r = 0; r < kRows; ++r) {
        if (found[i][r] != wheres[i].v[r]) {
          report(checked + i, "select id from t where " + wheres[i].sql, r,
                 wheres[i].v[r] ? "the row" : "no row", found[i][r] ? "the row" : "no row");
          break;
        }
      }
    }
    checked += wheres.size();
  }
  EXPECT_EQ(faults, 0u) << "seed " << seed << ": " << faults << " of " << checked
                        << " expressions differ (QUILLON_EXPR_SEED=" << seed << " replays them)";
}

}  // namespace
}  // namespace quillon::sql
