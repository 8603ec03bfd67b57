// The suite's services that take a condition from their caller: a condition that is not one
// expression is refused before any statement runs, on a copy of the demo account whose stock
// must survive; the conditions the dialogs hand over still work.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "components/inventory_query_service.h"
#include "components/registration.h"
#include "components/suite/production_order_object.h"
#include "components/suite/purchase_ref_object.h"
#include "demo_sessions.h"
#include "sql/condition.h"
#include "support/recordset_checks.h"

namespace quillon::components {
namespace {

using Rs = std::shared_ptr<ado::Recordset>;

constexpr const char* kAttacks[] = {
    "1=0) delete from CurrentStock --",
    "1=0 delete from CurrentStock",
    "1=1; delete from CurrentStock",
    "1=1 /* the rest */",
};

bool refusedAsCondition(const std::string& text) {
  return text.rfind(std::string(sql::kConditionRefusedText) + ": ", 0) == 0;
}

TEST(HostConditions, EveryServiceRefusesWhatWouldAddAStatementAndRunsNothing) {
  const std::string account = testing::demoCopy("host-conditions");
  auto conn = test_support::connect(account);
  const auto stock = [&] {
    return test_support::scalar(conn, "select count(*) from CurrentStock");
  };
  const double before = stock();
  ASSERT_GT(before, 0);
  auto session = testing::sessionFor("demo", account);

  suite::PurchaseRefServiceObject purchase;
  suite::ProductionOrderServiceObject production;
  auto inventories = createAs<InventoryQueryService>(kInventoryQueryServiceProgId);
  inventories->init(session);
  for (const std::string where : kAttacks) {
    Rs kept;
    const auto expectRefused = [&](const char* what, auto&& call) {
      try {
        call();
        ADD_FAILURE() << what << " accepted " << where;
      } catch (const automation::ComError& e) {
        EXPECT_EQ(e.number(), sql::kSqlErrorNumber);
        EXPECT_TRUE(refusedAsCondition(e.description())) << what << ": " << e.description();
      }
    };
    expectRefused("GetOrderHeads", [&] { purchase.getOrderHeads(*session, where, kept); });
    expectRefused("GetArrivalLines", [&] { purchase.getArrivalLines(*session, 8, where, kept); });
    expectRefused("GetDeliveryHeads", [&] { purchase.getDeliveryHeads(*session, where, kept); });
    expectRefused("GetDeliveryLines", [&] { purchase.getDeliveryLines(*session, where, kept); });
    expectRefused("GetInventoryList", [&] { inventories->inventories(where); });
    EXPECT_EQ(kept, nullptr);

    // The production-order service reports in its error text.
    std::string err;
    bool ok = true;
    auto c = conn;
    production.listHeads(where, kept, c, err, kVerifiedOrderState, true, ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(refusedAsCondition(err)) << err;
    ok = true;
    production.listLines("1", kept, c, err, kVerifiedOrderState, true, where, ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(refusedAsCondition(err)) << err;
    ok = true;
    production.listMaterials(1, 1, kept, c, err, where, ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(refusedAsCondition(err)) << err;
    EXPECT_EQ(kept, nullptr);
    EXPECT_EQ(stock(), before) << where;
  }

  // An inventory condition with an "or" narrows the lines as a whole: it cannot widen them past
  // the order they belong to.
  Rs lines;
  std::string err;
  bool ok = false;
  auto c = conn;
  production.listLines("1", lines, c, err, kVerifiedOrderState, false, "", ok);
  ASSERT_TRUE(ok) << err;
  const int all = lines->recordCount();
  production.listLines("1", lines, c, err, kVerifiedOrderState, false,
                       "cInvCode = N'none' or 1 = 1", ok);
  ASSERT_TRUE(ok) << err;
  EXPECT_EQ(lines->recordCount(), all);
  for (lines->moveFirst(); !lines->eof(); lines->moveNext())
    EXPECT_EQ(lines->value("id").toLong(), 1);
}

}  // namespace
}  // namespace quillon::components
