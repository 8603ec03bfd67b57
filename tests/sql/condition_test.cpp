// The check of a condition from outside: what an expression may hold passes and keeps its
// meaning inside a statement; what would add a statement, swallow the rest of one or end the
// batch is refused before anything runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/com_error.h"
#include "sql/condition.h"
#include "sql/database.h"

namespace quillon::sql {
namespace {

class ConditionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = Database::open(":memory:");
    db->execute(
        "create table t (id int, name nvarchar(200)) create table u (id int) "
        "insert into t values (1, 'a;b') insert into t values (2, 'O''Neil') "
        "insert into t values (3, '--x') insert into u values (2)");
  }
  // The rows the condition chooses, in a statement as the library writes them.
  std::int64_t chosen(const std::string& condition) {
    checkCondition(condition);
    const bool blank = condition.find_first_not_of(" ") == std::string::npos;
    return db
        ->query("select count(*) from t where id > 0" +
                (blank ? std::string() : " and (" + condition + ")"))
        .at(0)
        .rows.at(0)
        .at(0)
        .integer;
  }
  std::int64_t rows() { return db->query("select count(*) from t").at(0).rows.at(0).at(0).integer; }
  std::unique_ptr<Database> db;
};

TEST_F(ConditionTest, WhatAnExpressionHoldsPassesAndKeepsItsMeaning) {
  EXPECT_EQ(chosen("name = 'a;b'"), 1);
  EXPECT_EQ(chosen("name = N'O''Neil'"), 1);
  EXPECT_EQ(chosen("name like '--%'"), 1);
  EXPECT_EQ(chosen("name like '%/*%' or name like '%;%'"), 1);
  EXPECT_EQ(chosen("id in (select id from u)"), 1);
  EXPECT_EQ(chosen("exists (select 1 from u where u.id = t.id) or id = 3"), 2);
  EXPECT_EQ(chosen("(case when id = 1 then 1 else 0 end) = 1"), 1);
  EXPECT_EQ(chosen("id in (select id from u union select 3)"), 2);
  EXPECT_EQ(chosen("[name] <> 'x' and \"id\" - -1 > 2"), 2);
  EXPECT_EQ(chosen("id = 1\nor id = 2"), 2);
  EXPECT_EQ(chosen(""), 3);
  EXPECT_EQ(chosen("  "), 3);
  // The shapes the library's own callers hand over.
  for (const char* c :
       {"cCode = N'MO''1'", "(cDepCode in ('0201','0202') OR ISNULL(cDepCode, '') = '')",
        "Inventory.iId IN(1,5,9) AND (L.cWhCode in (N'01') OR "
        "ISNULL(L.cWhCode,'') = '')",
        " cInvCode in (select id from tempdb..tmpx_2026tmp) order by cInvCode  desc ",
        "cWhCode = '01' and cPosCode like '01A%'", "DispatchLists.DLID=9",
        "dDate >= '2026-01-01' AND dDate <= '2026-12-31'"}) {
    EXPECT_EQ(conditionFault(c), std::nullopt) << c;
  }
}

TEST_F(ConditionTest, WhatWouldAddAStatementOrSwallowTheRestIsRefusedBeforeAnythingRuns) {
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"1=0) delete from t --", "closes a parenthesis it did not open"},
      {"1=0 delete from t", "statement keyword DELETE"},
      {"1=1; delete from t", "statement separator"},
      {"1=1\nGO\ndelete from t", "statement separator"},
      {"1=1\ngo", "statement separator"},
      {"1=1 go", "statement keyword GO"},
      {"1=1 --", "comment"},
      {"1=1 /* x */", "comment"},
      {"/* x */ 1=1", "comment"},
      {"1=1 /* unterminated", "Unterminated comment"},
      {"name = 'x", "Unterminated string literal"},
      {"[name = 1", "Unterminated bracketed name"},
      {"(1=1", "\"(\" is not closed"},
      {"1=1) or (1=1", "closes a parenthesis it did not open"},
      {"1=1 union select 1", "UNION outside the parentheses"},
      {"id in (select id from u) select 1", "SELECT outside the parentheses"},
      {"id in (drop table u)", "statement keyword DROP"},
      {"exists (select 1 into x from u)", "statement keyword INTO"},
      {"1=1 end", "END without CASE"},
      {"1=1 else", "ELSE without CASE"},
      {"case when 1=1 then 1", "CASE without END"},
      {"id = tempdb.", "ends with \".\""},
      {"1=1 if 1=1 update t set id = 0", "statement keyword IF"},
      {"1=1 exec('x')", "statement keyword EXEC"},
      {std::string("1=1\0) delete from t", 20), "NUL byte"},
  };
  for (const auto& [condition, why] : refused) {
    try {
      chosen(condition);
      ADD_FAILURE() << "accepted: " << condition;
    } catch (const automation::ComError& e) {
      EXPECT_EQ(e.number(), kSqlErrorNumber);
      EXPECT_EQ(e.description().rfind(std::string(kConditionRefusedText) + ": ", 0), 0u)
          << e.description();
      EXPECT_NE(e.description().find(why), std::string::npos) << e.description();
    }
    EXPECT_EQ(rows(), 3) << condition;
  }
  // The text names the condition, cut at a character's start.
  const std::string longer = std::string(199, 'x') + "中 --";
  try {
    checkCondition(longer);
    ADD_FAILURE();
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.description().substr(e.description().size() - 199), std::string(199, 'x'));
  }
}

}  // namespace
}  // namespace quillon::sql
