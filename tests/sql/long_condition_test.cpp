// Conditions of thousands of terms joined by OR and AND (a selection of that many marked lines)
// on an account file, and on the test server in its half: the rows they keep are the ones the
// same condition keeps evaluated here, term by term, in three-valued logic.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "sql/database.h"
#include "sql/logical_chains.h"
#include "sql/token.h"
#include "sql/translator.h"
#include "sql_test_support.h"

namespace quillon::sql {
namespace {

constexpr int kRows = 400;

// Each row: id, a and b (null where the optional is empty).
struct Row {
  int id;
  std::optional<int> a;
  std::optional<int> b;
};

std::vector<Row> tableRows() {
  std::vector<Row> rows;
  for (int id = 1; id <= kRows; ++id) {
    rows.push_back({id, id % 11 == 0 ? std::nullopt : std::optional<int>(id % 7),
                    id % 13 == 0 ? std::nullopt : std::optional<int>(id % 5)});
  }
  return rows;
}

// Three-valued logic: false < unknown < true; AND is the least, OR the greatest.
enum Truth { False = 0, Unknown = 1, True = 2 };

// One comparison of a condition, with its text and its value on a row.
struct Atom {
  enum Kind { AEquals, BBetween, NotBEquals, AIsNull, IdEquals } kind;
  int k;
  std::string text() const {
    const std::string n = std::to_string(k);
    switch (kind) {
      case AEquals:
        return "a = " + n;
      case BBetween:
        return "b between " + n + " and " + std::to_string(k + 1);
      case NotBEquals:
        return "not b = " + n;
      case AIsNull:
        return "a is null";
      case IdEquals:
        return "(id = " + n + ")";
    }
    return {};
  }
  Truth on(const Row& r) const {
    const auto cmp = [](const std::optional<int>& v, bool holds) {
      return !v ? Unknown : holds ? True : False;
    };
    switch (kind) {
      case AEquals:
        return cmp(r.a, r.a && *r.a == k);
      case BBetween:
        return cmp(r.b, r.b && *r.b >= k && *r.b <= k + 1);
      case NotBEquals: {
        const Truth t = cmp(r.b, r.b && *r.b == k);
        return static_cast<Truth>(2 - t);
      }
      case AIsNull:
        return r.a ? False : True;
      case IdEquals:
        return r.id == k ? True : False;
    }
    return Unknown;
  }
};

// A condition in disjunctive form, written without parentheses around its conjunctions:
// "x and y or z and w or …".
struct Condition {
  std::vector<std::vector<Atom>> terms;
  std::string text() const {
    std::string s;
    for (const auto& conj : terms) {
      if (!s.empty()) s += " or ";
      for (std::size_t i = 0; i < conj.size(); ++i) s += (i ? " and " : "") + conj[i].text();
    }
    return s;
  }
  Truth on(const Row& r) const {
    Truth any = False;
    for (const auto& conj : terms) {
      Truth all = True;
      for (const Atom& a : conj) all = std::min(all, a.on(r));
      any = std::max(any, all);
    }
    return any;
  }
};

Condition randomCondition(std::mt19937& rng, int terms, int maxAtoms) {
  Condition c;
  for (int i = 0; i < terms; ++i) {
    std::vector<Atom> conj;
    const int atoms = 1 + static_cast<int>(rng() % static_cast<unsigned>(maxAtoms));
    for (int j = 0; j < atoms; ++j) {
      const auto kind = static_cast<Atom::Kind>(rng() % 5);
      const int k = kind == Atom::IdEquals ? 1 + static_cast<int>(rng() % (kRows * 20))
                                           : static_cast<int>(rng() % 7);
      conj.push_back({kind, k});
    }
    c.terms.push_back(std::move(conj));
  }
  return c;
}

std::string expectedIds(const std::vector<Row>& rows, const std::function<Truth(const Row&)>& on) {
  std::string ids;
  for (const Row& r : rows) {
    if (on(r) == True) ids += (ids.empty() ? "" : ",") + std::to_string(r.id);
  }
  return ids;
}

std::string idsOf(Database& db, const std::string& where) {
  const auto results = db.query("select id from t where " + where + " order by id");
  std::string ids;
  for (const auto& row : results.back().rows)
    ids += (ids.empty() ? "" : ",") + std::to_string(row[0].integer);
  return ids;
}

class LongConditions : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string load = "create table t (id int not null primary key, a int null, b int null) ";
    for (const Row& r : rows_) {
      load += "insert into t values (" + std::to_string(r.id) + ", " +
              (r.a ? std::to_string(*r.a) : "null") + ", " + (r.b ? std::to_string(*r.b) : "null") +
              ") ";
    }
    for (auto& db : engines_) db->execute(load);
  }

  testing::ScratchEngines scratch_{"long"};
  std::vector<std::unique_ptr<Database>>& engines_ = scratch_.all();
  const std::vector<Row> rows_ = tableRows();
};

TEST_F(LongConditions, FiveThousandOrTermsKeepTheRowsTheyName) {
  // The shape of a selection of marked lines: one parenthesized term per line.
  std::mt19937 rng(38);
  std::string where = "(";
  std::vector<int> named;
  for (int i = 0; i < 5000; ++i) {
    const int id = 1 + static_cast<int>(rng() % (kRows * 30));
    if (i > 0) where += " or ";
    where += "( id=" + std::to_string(id) + " and a is not null )";
    named.push_back(id);
  }
  where += ")";
  const std::string expected = expectedIds(rows_, [&](const Row& r) {
    return r.a && std::find(named.begin(), named.end(), r.id) != named.end() ? True : False;
  });
  ASSERT_FALSE(expected.empty());
  for (auto& db : engines_) EXPECT_EQ(idsOf(*db, where), expected);
}

TEST_F(LongConditions, MixedChainsKeepPrecedenceAndThreeValuedLogic) {
  std::mt19937 rng(20261208);
  for (const auto& [terms, atoms] : {std::pair{3000, 3}, std::pair{200, 1}, std::pair{70, 40}}) {
    const Condition c = randomCondition(rng, terms, atoms);
    const std::string expected = expectedIds(rows_, [&](const Row& r) { return c.on(r); });
    for (auto& db : engines_) {
      EXPECT_EQ(idsOf(*db, c.text()), expected) << terms << " terms";
      // Inside parentheses and after other conditions, and negated as a whole.
      EXPECT_EQ(
          idsOf(*db, "id > 0 and (" + c.text() + ") and b is not null or id = -1"),
          expectedIds(rows_, [&](const Row& r) { return r.b && c.on(r) == True ? True : False; }));
      EXPECT_EQ(idsOf(*db, "not (" + c.text() + ")"),
                expectedIds(rows_, [&](const Row& r) { return static_cast<Truth>(2 - c.on(r)); }));
    }
  }
}

TEST_F(LongConditions, LongAndChainsAndChainsInCaseAndSubSelects) {
  std::string noneOf = "a is not null";
  for (int id = 1; id <= 3000; ++id) noneOf += " and id <> " + std::to_string(id * 2);
  const std::string odd =
      expectedIds(rows_, [](const Row& r) { return r.a && r.id % 2 == 1 ? True : False; });
  std::string anyOf = "id = 0";
  for (int id = 1; id <= 3000; ++id) anyOf += " or id = " + std::to_string(id * 2);
  const std::string even =
      expectedIds(rows_, [](const Row& r) { return r.id % 2 == 0 ? True : False; });
  for (auto& db : engines_) {
    EXPECT_EQ(idsOf(*db, noneOf), odd);
    EXPECT_EQ(idsOf(*db, "1 = case when " + anyOf + " then 1 else 0 end"), even);
    EXPECT_EQ(idsOf(*db, "id in (select id from t where " + anyOf + ")"), even);
  }
}

TEST(LongChains, OnlyLongChainsAreRegroupedAndNothingElseChanges) {
  const auto text = [](const Tokens& t) {
    std::string s;
    for (const Token& x : t) s += (s.empty() ? "" : " ") + x.text;
    return s;
  };
  // Short chains, and clauses that break a chain, stay as written.
  std::string shortChain = "select a, b from t where a = 1";
  for (int i = 2; i <= 60; ++i)
    shortChain += (i % 2 ? " or a = " : " and b = ") + std::to_string(i);
  EXPECT_EQ(text(groupLongChains(tokenize(shortChain))), text(tokenize(shortChain)));
  std::string broken = "select case when a = 0 then 1";
  for (int i = 1; i <= 100; ++i) broken += " when a = " + std::to_string(i) + " or b = 1 then 1";
  broken += " end from t";
  EXPECT_EQ(text(groupLongChains(tokenize(broken))), text(tokenize(broken)));

  // A long one gains only parentheses, balanced, and nests a few levels deep at most.
  std::string longChain = "select a from t where x = 0";
  for (int i = 1; i <= 5000; ++i) longChain += " or x between " + std::to_string(i) + " and 9";
  longChain += " order by a";
  const Tokens before = tokenize(longChain);
  const Tokens after = groupLongChains(tokenize(longChain));
  ASSERT_GT(after.size(), before.size());
  std::string withoutAdded;
  int depth = 0;
  int deepest = 0;
  for (const Token& x : after) {
    if (x.isOp("(")) deepest = std::max(deepest, ++depth);
    if (x.isOp(")")) --depth;
    if (!x.isOp("(") && !x.isOp(")")) withoutAdded += (withoutAdded.empty() ? "" : " ") + x.text;
  }
  EXPECT_EQ(depth, 0);
  EXPECT_LE(deepest, 3);
  EXPECT_EQ(withoutAdded, text(before));
  // The translation for the server keeps the chain flat: it takes one of any length.
  EXPECT_EQ(Translator::translateUncached(longChain, Engine::PostgreSQL)[0].sql.find("( x"),
            std::string::npos);
}

}  // namespace
}  // namespace quillon::sql
