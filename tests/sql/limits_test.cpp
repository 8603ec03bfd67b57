// What no statement text may do to the process: nest deeper than the translator allows, be longer
// than it takes, or carry date arithmetic beyond the dates the engine keeps. Each case ends in a
// statement error; long text within the limits translates whole.
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

// Long text translates whole: many common table expressions in one WITH, many statements in one
// batch, up to the longest batch the translator takes.
TEST_F(LimitsTest, LongWithListsAndBatchesTranslateWhole) {
  const int expressions = 20000;
  std::string with = "with c0 as (select 1 as n)";
  for (int i = 1; i < expressions; ++i) {
    with += ", c" + std::to_string(i) + " as (select " + std::to_string(i + 1) + " as n)";
  }
  EXPECT_EQ(value(with + " select n from c" + std::to_string(expressions - 1)),
            std::to_string(expressions));
  // Each one reads the one before it; its columns are named by the first.
  with = "with c0 (n) as (select 1)";
  for (int i = 1; i < 1000; ++i) {
    with +=
        ", c" + std::to_string(i) + " as (select n + 1 as n from c" + std::to_string(i - 1) + ")";
  }
  EXPECT_EQ(value(with + " select n from c999"), "1000");

  std::string batch = "create table #t (n int)\n";
  for (int i = 0; i < 50000; ++i) batch += "insert into #t values (" + std::to_string(i) + ")\n";
  db->execute(batch + "go\nselect 1");
  EXPECT_EQ(value("select count(*) from #t"), "50000");
  EXPECT_EQ(value("select sum(n) from #t"), std::to_string(49999LL * 50000 / 2));
}

TEST_F(LimitsTest, ABatchLongerThanTheLimitIsRefusedBeforeAnythingRuns) {
  db->execute("create table t (n int)");
  std::string batch = "insert into t values (1)";
  batch.append(kMaxBatchBytes - batch.size(), ' ');
  EXPECT_EQ(error(batch + "x"),
            "The batch is too long to translate: it holds more than 16 MiB (16777216 bytes); break "
            "it up into smaller batches.");
  EXPECT_EQ(value("select count(*) from t"), "0");
  db->execute(batch);
  EXPECT_EQ(value("select count(*) from t"), "1");
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

TEST_F(LimitsTest, IntArithmeticFailsBeyondTheIntRange) {
  const std::string intOverflow =
      "Arithmetic overflow error converting expression to data type int.";
  db->execute("create table w (a int, b int, q decimal(20,6))");
  db->execute("insert into w values (65536, 65536, 65536.5)");
  db->execute("insert into w values (2147483647, -2147483648, 0)");
  // Products, sums and differences of ints, of columns and literals alike.
  EXPECT_TRUE(error("select a * b from w where q > 0").starts_with(intOverflow));
  EXPECT_TRUE(error("select a + 1 from w where q = 0").starts_with(intOverflow));
  EXPECT_TRUE(error("select b - 1 from w where q = 0").starts_with(intOverflow));
  EXPECT_TRUE(error("select 2147483647 + 1").starts_with(intOverflow));
  EXPECT_TRUE(error("select 46341 * 46341").starts_with(intOverflow));
  EXPECT_TRUE(error("select b / -1 from w where q = 0").starts_with(intOverflow));
  EXPECT_TRUE(error("select a + b * 2 from w where q = 0").starts_with(intOverflow));
  // Decided per row: no row beyond the range, no failure.
  EXPECT_EQ(value("select a * 2 from w where q > 0"), "131072");
  EXPECT_EQ(value("select a + b from w where q = 0"), "-1");
  EXPECT_EQ(value("select 2147483647 - 1 + 1"), "2147483647");
  // The sum of ints is an int.
  EXPECT_TRUE(error("select sum(a) from w").starts_with(intOverflow));
  EXPECT_EQ(value("select sum(a) from w where q = 0"), "2147483647");
  // A conversion to bigint carries the arithmetic into 64 bits, also through further operators
  // and sums.
  EXPECT_EQ(value("select convert(bigint, a) * b from w where q > 0"), "4294967296");
  EXPECT_EQ(value("select convert(bigint, a) * b + 1 - a from w where q > 0"), "4294901761");
  EXPECT_EQ(value("select cast(a as bigint) + 1 from w where q = 0"), "2147483648");
  EXPECT_EQ(value("select sum(convert(bigint, a)) from w"), "2147549183");
  // Decimals are reals: quantities multiply past the int range.
  EXPECT_EQ(value("select q * 65536 from w where q > 0"), "real 4295000064.000000");
  // A conversion to int checks the range.
  EXPECT_TRUE(error("select convert(int, 2147483648.0)").starts_with(intOverflow));
}

TEST_F(LimitsTest, BigintArithmeticFailsBeyondTheBigintRange) {
  db->execute("create table w (a bigint, b bigint)");
  db->execute("insert into w values (9223372036854775807, 1)");
  const std::string bigintOverflow =
      "Arithmetic overflow error converting expression to data type bigint.";
  // Values beyond the int range are bigints: their arithmetic goes on in 64 bits and fails
  // beyond them.
  EXPECT_TRUE(error("select a + b from w").starts_with(bigintOverflow));
  EXPECT_TRUE(error("select a * 2 from w").starts_with(bigintOverflow));
  EXPECT_TRUE(error("select sum(a) from (select a from w union all select a from w) x")
                  .starts_with(bigintOverflow));
  EXPECT_EQ(value("select a - b + b from w"), "9223372036854775807");
  EXPECT_EQ(value("select a + 1.0 from w"), value("select 9223372036854775807 + 1.0"));
}

}  // namespace
}  // namespace quillon::sql
