// The literal and identifier functions, checked on the engine: whatever a value holds, the
// statement it stands in keeps its meaning.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "automation/com_error.h"
#include "sql/database.h"
#include "sql/sql_text.h"

namespace quillon::sql {
namespace {

class SqlTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = Database::open(":memory:");
    db->execute("create table t (id int, name nvarchar(200), qty decimal(20,6))");
    db->execute(
        "insert into t values (1, 'a', 1) insert into t values (2, 'b', 2) "
        "insert into t values (3, 'c', 3)");
  }
  std::string text(const std::string& statement) {
    auto results = db->query(statement);
    EXPECT_EQ(results.size(), 1u);
    EXPECT_EQ(results.at(0).rows.size(), 1u);
    return results.at(0).rows.at(0).at(0).text;
  }
  double number(const std::string& statement) {
    const Value v = db->query(statement).at(0).rows.at(0).at(0);
    return v.kind == ValueKind::Integer ? static_cast<double>(v.integer) : v.real;
  }
  std::unique_ptr<Database> db;
};

TEST_F(SqlTextTest, ATextLiteralIsOneValueWhateverItHolds) {
  EXPECT_EQ(literal("O'Neil"), "N'O''Neil'");
  EXPECT_EQ(literal(""), "N''");
  const std::vector<std::string> values = {"O'Neil 五金",
                                           "鑫源%') OR 1=1 --",
                                           "'",
                                           "''",
                                           "x' or '1'='1",
                                           "1 --",
                                           "a\nb\r\n",
                                           "/* c",
                                           "]",
                                           "\"",
                                           "N'",
                                           "\\'",
                                           "; delete from t",
                                           "\xff\xfe",
                                           std::string(300, '\'')};
  for (const auto& v : values) {
    EXPECT_EQ(text("select " + literal(v)), v);
    EXPECT_EQ(db->execute("update t set name = " + literal(v) + " where id = 2"), 1) << v;
    EXPECT_EQ(text("select name from t where id = 2"), v);
    EXPECT_EQ(number("select count(*) from t where name = " + literal(v)), 1) << v;
    EXPECT_EQ(number("select count(*) from t where id <> 2 and name <> " + literal(v)), 2) << v;
  }
}

TEST_F(SqlTextTest, ANumberLiteralIsExactAndStaysOneOperand) {
  EXPECT_EQ(literal(2.5), "2.5");
  EXPECT_EQ(literal(0.1), "0.1");
  EXPECT_EQ(literal(12.0), "12");
  EXPECT_EQ(literal(0.0), "0");
  EXPECT_EQ(literal(-0.0), "0");
  EXPECT_EQ(literal(-1.0), "(-1)");
  for (const double v : {2.5, 0.1, -1.0, -0.000001, 1e300, -1e-300, 123456789.123456,
                         std::numeric_limits<double>::max(), std::numeric_limits<double>::min()}) {
    EXPECT_EQ(number("select " + literal(v)), v);
    // After a minus, a negative number must not start a comment that eats the row condition.
    EXPECT_EQ(db->execute("update t set qty = qty-" + literal(v) + " where id = 1"), 1) << v;
    EXPECT_EQ(number("select sum(qty) from t where id > 1"), 5);
  }
  for (const double bad : {std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), std::nan("")}) {
    try {
      literal(bad);
      ADD_FAILURE() << "no literal for " << bad;
    } catch (const automation::ComError& e) {
      EXPECT_EQ(e.number(), automation::err::kOverflow);
    }
  }
}

TEST_F(SqlTextTest, IdentifiersKeepTheDesignsNamesAndMapEverythingElse) {
  const std::pair<const char*, const char*> mapped[] = {
      {"PC-01_3", "PC_01_3"},
      {"PC-01_", "PC_01_"},
      {"RDP-Tcp#3", "RDP_Tcpx233"},
      {"it's a", "itx27sx20a"},
      {"3PC", "_3PC"},
      {"", ""},
      {"build-01.example.com_2", "build_01x2Eexamplex2Ecom_2"}};
  for (const auto& [outside, name] : mapped) EXPECT_EQ(identifier(outside), name);

  // Every result is a table name the dialect takes unquoted, and desks stay apart.
  const std::vector<std::string> desks = {
      "PC-01_3",   "PC-01_4",  "build-01.example.com_", "RDP-Tcp#3",
      "RDP-Tcp 3", "01-host_", "x; drop table t --",    "]) --",
      "主机_1",    "a\"b"};
  std::set<std::string> names;
  for (const auto& desk : desks) {
    const std::string name = identifier(desk) + "_CurrentS";
    EXPECT_TRUE(names.insert(name).second) << name;
    db->execute("create table " + name + " (AutoID int)");
    db->execute("insert into " + name + " select id from t");
    EXPECT_EQ(number("select count(*) from " + name), 3) << name;
  }
  EXPECT_EQ(number("select count(*) from t"), 3);
}

}  // namespace
}  // namespace quillon::sql
