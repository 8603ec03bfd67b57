// What no statement text may do to the process: nest deeper than the translator allows, or carry
// date arithmetic beyond the dates the engine keeps. Each case ends in a statement error.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "automation/com_error.h"
#include "sql/database.h"

namespace quillon::sql {
namespace {

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

class LimitsTest : public ::testing::Test {
 protected:
  void SetUp() override { db = Database::open(":memory:"); }

  // The first value of the batch's first row, as text.
  std::string value(const std::string& sql) {
    const Value v = db->query(sql).at(0).rows.at(0).at(0);
    switch (v.kind) {
      case ValueKind::Null:
        return "NULL";
      case ValueKind::Integer:
        return std::to_string(v.integer);
      case ValueKind::Real:
        return "real " + std::to_string(v.real);
      default:
        return v.text;
    }
  }
  // The error text of a batch that must fail, "<no error>" when it ran.
  std::string error(const std::string& sql) {
    try {
      db->query(sql);
    } catch (const automation::ComError& e) {
      EXPECT_EQ(e.number(), kSqlErrorNumber) << e.description();
      return e.description();
    }
    return "<no error>";
  }

  std::unique_ptr<Database> db;
};

bool saysNestedTooDeeply(const std::string& text) {
  return text.starts_with(kNestedTooDeeplyText) &&
         text.find(std::to_string(kMaxNesting) + " levels") != std::string::npos;
}

TEST_F(LimitsTest, ParenthesesAndCaseNestUpToTheLimit) {
  const int allowed = kMaxNesting - 1;  // the select's own parentheses are none: all count
  EXPECT_EQ(value("select " + repeat("(", allowed) + "1 + 2" + repeat(")", allowed)), "3");
  // The engine's own parser takes fewer levels of CASE; what it refuses it refuses cleanly.
  EXPECT_EQ(value("select " + repeat("case when 1 = 1 then ", 15) + "7" + repeat(" end", 15)), "7");
  for (const int depth : {kMaxNesting + 1, 20000}) {
    EXPECT_TRUE(
        saysNestedTooDeeply(error("select " + repeat("(", depth) + "1" + repeat(")", depth))))
        << depth;
    EXPECT_TRUE(saysNestedTooDeeply(
        error("select " + repeat("case when 1 = 1 then ", depth) + "1" + repeat(" end", depth))))
        << depth;
  }
  // Unbalanced text deeper than the limit is refused for its depth before its balance is known.
  EXPECT_TRUE(saysNestedTooDeeply(error("select " + repeat("(", 20000))));
  // Subqueries and calls nest through the same parentheses.
  EXPECT_TRUE(saysNestedTooDeeply(error(repeat("select (", 20000) + "1" + repeat(")", 20000))));
  EXPECT_TRUE(
      saysNestedTooDeeply(error("select " + repeat("abs(", 20000) + "1" + repeat(")", 20000))));
}

TEST_F(LimitsTest, IfAndBeginNestUpToTheLimit) {
  db->execute("create table t (n int)");
  const int pairs = kMaxNesting / 2;  // each pair nests twice
  db->execute(repeat("if 1 = 1 begin ", pairs) + "insert into t values (1)" +
              repeat(" end", pairs));
  EXPECT_EQ(value("select count(*) from t"), "1");
  for (const int depth : {kMaxNesting + 1, 20000}) {
    EXPECT_TRUE(saysNestedTooDeeply(error(repeat("if 1 = 1 ", depth) + "insert into t values (2)")))
        << depth;
    EXPECT_TRUE(saysNestedTooDeeply(
        error(repeat("begin ", depth) + "insert into t values (2)" + repeat(" end", depth))))
        << depth;
    EXPECT_TRUE(saysNestedTooDeeply(error(repeat("if 1 = 0 select 1 else ", depth) + "select 2")))
        << depth;
  }
  EXPECT_EQ(value("select count(*) from t"), "1");  // nothing of a refused batch ran
}

TEST_F(LimitsTest, DateArithmeticStaysWithinTheEngineDates) {
  EXPECT_EQ(value("select dateadd(year, 7999, '2000-01-01')"), "9999-01-01 00:00:00");
  EXPECT_EQ(value("select dateadd(month, -23999, '2000-12-15')"), "0001-01-15 00:00:00");
  EXPECT_EQ(value("select dateadd(second, -1, '0001-01-01 00:00:01')"), "0001-01-01 00:00:00");
  EXPECT_EQ(value("select dateadd(day, 1, '9999-12-30')"), "9999-12-31 00:00:00");

  const std::string addOverflow = "Adding a value to a 'datetime' column caused an overflow.";
  // Each unit just past the 8000 years from 2000-01-01 to the end, and integers no date holds.
  const std::pair<std::string, std::string> beyond[] = {
      {"year", "8000"},         {"year", "-2000"},          {"quarter", "32000"},
      {"quarter", "-8000"},     {"month", "96000"},         {"month", "-24000"},
      {"week", "418000"},       {"day", "2923000"},         {"hour", "70152000"},
      {"minute", "4209120000"}, {"second", "252547200000"}, {"second", "-63113904001"}};
  for (const auto& [part, n] : beyond) {
    EXPECT_NE(error("select dateadd(" + part + ", " + n + ", '2000-01-01')").find(addOverflow),
              std::string::npos)
        << part << " " << n;
  }
  for (const std::string part :
       {"year", "quarter", "month", "week", "day", "hour", "minute", "second"}) {
    for (const std::string n : {"9223372036854775807", "-9223372036854775808", "1e300"}) {
      EXPECT_NE(error("select dateadd(" + part + ", " + n + ", '2000-01-01')").find(addOverflow),
                std::string::npos)
          << part << " " << n;
    }
  }
  EXPECT_NE(error("select dateadd(day, 1, '9999-12-31')").find(addOverflow), std::string::npos);
  EXPECT_NE(error("select dateadd(second, -1, '0001-01-01')").find(addOverflow), std::string::npos);

  const std::string convertOverflow =
      "Arithmetic overflow error converting expression to data type datetime.";
  for (const std::string n : {"1e300", "-1e300", "3000000", "-700000", "9223372036854775807"}) {
    EXPECT_NE(error("select convert(datetime, " + n + ")").find(convertOverflow), std::string::npos)
        << n;
    EXPECT_NE(error("select dateadd(day, 1, " + n + ")").find(convertOverflow), std::string::npos)
        << n;
  }
  EXPECT_EQ(value("select convert(datetime, 2)"), "1900-01-03 00:00:00");
  // A fraction that rounds to a whole day is the next midnight, never hour 24.
  EXPECT_EQ(value("select convert(datetime, 0.9999999999)"), "1900-01-02 00:00:00");
  // Year 0 is no date.
  EXPECT_NE(error("select convert(datetime, '0000-06-01')").find("Conversion failed"),
            std::string::npos);
}

TEST_F(LimitsTest, SumsBeyondTheIntegersBecomeReals) {
  db->execute("create table w (a bigint, b bigint)");
  db->execute("insert into w values (9223372036854775807, 1)");
  // Columns of either kind add at run time; past the largest integer the sum is a real, as the
  // engine's own "+" gives it.
  EXPECT_EQ(value("select a + b from w"), value("select 9223372036854775807 + 1.0"));
  EXPECT_EQ(value("select a - b + b from w"), "9223372036854775807");
}

}  // namespace
}  // namespace quillon::sql
