// Filter criteria over a real result: operators, LIKE, AND/OR precedence, Null, dates, names.
#include <gtest/gtest.h>

#include "ado/ado_errors.h"
#include "ado/criteria.h"
#include "automation/com_error.h"
#include "test_data.h"

namespace quillon::ado {
namespace {

using testing::autoIds;
using testing::openStock;
using testing::openStockDb;

class AdoCriteria : public ::testing::Test {
 protected:
  std::string ids(const std::string& criteria) {
    rs->setFilter(Variant(criteria));
    return autoIds(*rs);
  }
  std::shared_ptr<Connection> cn = openStockDb();
  std::shared_ptr<Recordset> rs = openStock(cn);
};

TEST_F(AdoCriteria, ComparisonOperatorsOnNumbers) {
  EXPECT_EQ(ids("iQuantity > 0"), "1,4,5");
  EXPECT_EQ(ids("iQuantity >= 0"), "1,3,4,5");
  EXPECT_EQ(ids("iQuantity < 0"), "2");
  EXPECT_EQ(ids("iQuantity<=0"), "2,3");
  EXPECT_EQ(ids("iQuantity <> 10"), "2,3,4,5");
  EXPECT_EQ(ids("iQuantity = 4.5"), "4");
  EXPECT_EQ(ids("AutoID = '3'"), "3");
  EXPECT_EQ(ids("fPrice > 1"), "1,2,5");  // Null prices match no comparison
  EXPECT_EQ(ids("bFlag = -1"), "1,3");
  EXPECT_EQ(ids("bFlag = 0"), "2,5");
}

TEST_F(AdoCriteria, TextComparesWithoutCase) {
  EXPECT_EQ(ids("cInvCode = 'a001'"), "1");
  EXPECT_EQ(ids("cInvCode <> 'A001'"), "2,3,4,5");
  EXPECT_EQ(ids("cInvCode > 'b'"), "3,4,5");
  EXPECT_EQ(ids("cInvName = 'Nut''s cap'"), "4");
  EXPECT_EQ(ids("cInvCode = 'nothing'"), "");
}

TEST_F(AdoCriteria, LikeWithWildcardsAtEitherEnd) {
  EXPECT_EQ(ids("cInvCode LIKE 'b%'"), "3,5");
  EXPECT_EQ(ids("cInvCode like 'B*'"), "3,5");
  EXPECT_EQ(ids("cInvName LIKE '%nut%'"), "2,4");
  EXPECT_EQ(ids("cInvName LIKE '*T'"), "1,2");
  EXPECT_EQ(ids("cInvName LIKE 'bolt'"), "1");
  EXPECT_EQ(ids("cInvName LIKE '%'"), "1,2,3,4");
}

TEST_F(AdoCriteria, AndBindsTighterThanOrAndParenthesesGroup) {
  EXPECT_EQ(ids("cInvCode = 'A001' OR iQuantity > 5 AND fPrice > 2"), "1,5");
  EXPECT_EQ(ids("(cInvCode = 'A001' OR iQuantity > 5) AND fPrice > 2"), "5");
  EXPECT_EQ(ids("iQuantity > 0 and fPrice < 2 or cInvCode = 'B001'"), "1,3,4");
  EXPECT_EQ(ids("((AutoID = 1) Or (AutoID = 2)) AND (cInvName LIKE 'bolt%')"), "1,2");
}

TEST_F(AdoCriteria, NullComparisons) {
  EXPECT_EQ(ids("fPrice = null"), "3");
  EXPECT_EQ(ids("cInvName <> NULL"), "1,2,3,4");
  EXPECT_EQ(ids("bFlag = Null"), "4");
  // An empty view with the fields intact, as callers build empty copies.
  EXPECT_EQ(ids("AutoID=null"), "");
  EXPECT_TRUE(rs->bof() && rs->eof());
  EXPECT_EQ(rs->fields()->count(), 10);
}

TEST_F(AdoCriteria, DatesAndNonAsciiNames) {
  EXPECT_EQ(ids("dDate = #2026-01-05#"), "1,5");
  EXPECT_EQ(ids("dDate > '2026-02-01'"), "2,4");
  EXPECT_EQ(ids("dDate < #01/31/2026#"), "1,5");
  EXPECT_EQ(ids("上级编码 LIKE '01%'"), "1,2,4");
  EXPECT_EQ(ids("[入库日期] >= #2026-03-01# AND 入库系统编号 < 9"), "1,4,5");
  EXPECT_EQ(ids("[cInvCode] = 'C010'"), "4");
}

TEST_F(AdoCriteria, InvalidCriteriaAreRefusedAndKeepTheFilter) {
  ids("iQuantity > 0");
  const char* bad[] = {
      "cInvCode =",
      "nosuch = 1",
      "iQuantity = 'abc'",
      "cInvCode LIKE 'a%b'",
      "fPrice < null",
      "(cInvCode = 'A001'",
      "cInvCode 'x'",
      "cInvCode = 'open",
      "dDate = #2026-02-30#",
      "AutoID = 1 AND",
      "AutoID = 1 XOR AutoID = 2",
      "iQuantity LIKE '1%'",
  };
  for (const char* criteria : bad) {
    SCOPED_TRACE(criteria);
    try {
      rs->setFilter(Variant(criteria));
      ADD_FAILURE() << "accepted";
    } catch (const automation::ComError& e) {
      EXPECT_EQ(e.number(), kErrArguments);
    }
  }
  EXPECT_EQ(rs->filter(), Variant("iQuantity > 0"));
  EXPECT_EQ(autoIds(*rs), "1,4,5");
}

// Nesting: any depth up to the limit works, one level more is refused by name, and a depth that
// once overflowed the stack is refused the same way, for Filter and Find alike.
TEST_F(AdoCriteria, NestingUpToTheLimitAndARefusalBeyondIt) {
  const auto nested = [](int depth, const std::string& inner) {
    return std::string(static_cast<std::size_t>(depth), '(') + inner +
           std::string(static_cast<std::size_t>(depth), ')');
  };
  EXPECT_EQ(ids(nested(kMaxCriteriaNesting, "AutoID = 2")), "2");
  std::string chain = "AutoID = 5";
  for (int i = 1; i < kMaxCriteriaNesting; ++i)
    chain = "AutoID = " + std::to_string(i) + " or (" + chain + ")";
  EXPECT_EQ(ids(chain), "1,2,3,4,5");

  ids("iQuantity > 0");
  for (const int depth : {kMaxCriteriaNesting + 1, 20000}) {
    const std::string criteria = nested(depth, "AutoID = 2");
    try {
      rs->setFilter(Variant(criteria));
      ADD_FAILURE() << "accepted at depth " << depth;
    } catch (const automation::ComError& e) {
      EXPECT_EQ(e.number(), kErrArguments);
      EXPECT_NE(e.source().find("deeper than 100 levels"), std::string::npos) << e.source();
    }
    EXPECT_THROW(rs->find(criteria), automation::ComError);
  }
  EXPECT_EQ(rs->filter(), Variant("iQuantity > 0"));
  EXPECT_EQ(autoIds(*rs), "1,4,5");
}

TEST_F(AdoCriteria, EmptyTextOrFilterNoneClears) {
  ids("AutoID = 2");
  rs->setFilter(Variant(""));
  EXPECT_EQ(autoIds(*rs), "1,2,3,4,5");
  ids("AutoID = 2");
  rs->setFilter(Variant(adFilterNone));
  EXPECT_EQ(autoIds(*rs), "1,2,3,4,5");
  EXPECT_THROW(rs->setFilter(Variant(42)), automation::ComError);
}

TEST_F(AdoCriteria, FindMovesToTheNextMatch) {
  rs->find("cInvCode LIKE 'b%'");
  EXPECT_EQ(rs->value("AutoID"), Variant(3));
  rs->find("cInvCode LIKE 'b%'", 1);
  EXPECT_EQ(rs->value("AutoID"), Variant(5));
  rs->find("cInvCode LIKE 'b%'", 1);
  EXPECT_TRUE(rs->eof());
  rs->moveLast();
  rs->find("iQuantity > 5", 0, adSearchBackward);
  EXPECT_EQ(rs->value("AutoID"), Variant(5));
  rs->find("iQuantity > 5", 1, adSearchBackward);
  EXPECT_EQ(rs->value("AutoID"), Variant(1));
}

}  // namespace
}  // namespace quillon::ado
