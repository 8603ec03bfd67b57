// The components behind bin-position filters and inventory picking: the inventory list with its
// rights and order, the inventory-class grade lengths, and the filter context and dialog.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "components/filter.h"
#include "components/inventory_query_service.h"
#include "components/purchase_ref_service.h"
#include "components/registration.h"
#include "demo_sessions.h"
#include "support/recording_ui_host.h"

namespace quillon::components {
namespace {

using automation::ComError;
using automation::Variant;
using testing::sessionFor;

std::vector<std::string> codes(ado::Recordset& rs) {
  std::vector<std::string> out;
  if (rs.bof() && rs.eof()) return out;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) out.push_back(rs.value("cInvCode").toString());
  return out;
}

std::shared_ptr<InventoryQueryService> inventoryList(const std::string& user) {
  auto service = createAs<InventoryQueryService>(kInventoryQueryServiceProgId);
  service->init(sessionFor(user));
  return service;
}

TEST(InventoryQueryService, ConditionWithOrderByAndTheUsersRights) {
  test_support::demoAccount(registerClasses);
  auto demo = inventoryList("demo");
  // Code order without an order-by; the order-by of the condition otherwise, with the
  // condition's unqualified names still Inventory's although the class name is a column too.
  auto up = demo->inventories("cInvCCode like '0101%'");
  const auto ascending = codes(*up);
  ASSERT_GE(ascending.size(), 3u);
  EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
  auto down = demo->inventories("cInvCCode like '0101%' order by cInvCode  desc ");
  EXPECT_EQ(codes(*down), std::vector<std::string>(ascending.rbegin(), ascending.rend()));
  down->moveFirst();
  for (const char* field : {"cInvCode", "cInvName", "cInvStd", "cInvCCode", "cInvCName"}) {
    EXPECT_NO_THROW(down->value(field)) << field;
  }
  EXPECT_EQ(down->value("cInvCName").toString(), "金属材料");

  // "order by" inside a text or a subquery is part of the condition, not its order.
  auto quoted = demo->inventories(
      "cInvName <> 'x order by y' and cInvCode in (select cInvCode from Inventory where "
      "cInvCCode = '060101') order by cInvCode desc");
  EXPECT_EQ(codes(*quoted), (std::vector<std::string>{"060101002", "060101001"}));
  auto all = demo->inventories("");
  EXPECT_EQ(all->recordCount(), sessionFor("demo")
                                    ->connection()
                                    ->execute("select count(*) from Inventory")
                                    ->value(std::size_t{0})
                                    .toLong());

  // The clerk may use the inventories of 0101, 0102 and 05 only: nothing of 03 or 06 shows, with
  // or without a condition.
  auto clerk = inventoryList("clerk");
  for (const std::string& code : codes(*clerk->inventories(""))) {
    EXPECT_TRUE(code.rfind("0101", 0) == 0 || code.rfind("0102", 0) == 0 ||
                code.rfind("05", 0) == 0)
        << code;
  }
  EXPECT_TRUE(codes(*clerk->inventories("cInvCCode like '06%'")).empty());
  EXPECT_EQ(codes(*clerk->inventories("cInvCCode like '0101%' order by cInvCode desc")),
            codes(*down));

  // A condition the database refuses is the call's error; a service without a session is 91.
  EXPECT_THROW(demo->inventories("cNoSuchColumn = 1"), ComError);
  auto fresh = createAs<InventoryQueryService>(kInventoryQueryServiceProgId);
  try {
    fresh->inventories("");
    ADD_FAILURE() << "no session";
  } catch (const ComError& e) {
    EXPECT_EQ(e.number(), 91);
  }
  // Late-bound, as the suite's callers reach it.
  automation::Object& late = *fresh;
  late.call("Init", {Variant(automation::ObjectPtr(sessionFor("demo")))});
  auto rs = automation::toObjectAs<ado::Recordset>(
      late.call("GetInventoryList", {Variant("cInvCCode like '0601%'")}));
  EXPECT_EQ(codes(*rs), (std::vector<std::string>{"060101001", "060101002"}));
}

TEST(PurchaseRefService, InventoryClassGradeLengths) {
  test_support::demoAccount(registerClasses);
  auto session = sessionFor("demo");
  auto lengths = purchaseRefService()->invClassGradeLengths(*session);
  ASSERT_EQ(lengths->count(), 3u);
  for (std::size_t g = 1; g <= 3; ++g) EXPECT_EQ(lengths->item(g).toLong(), 2) << g;

  std::vector<Variant> args = {Variant(automation::ObjectPtr(session)), Variant()};
  purchaseRefService()->invoke("GetInvClassGradeLengths", automation::InvokeKind::Method, args);
  auto late = automation::toObjectAs<automation::Collection>(args[1]);
  ASSERT_NE(late, nullptr);
  EXPECT_EQ(late->count(), 3u);
  std::vector<Variant> nothing = {Variant(automation::ObjectPtr()), Variant()};
  EXPECT_THROW(purchaseRefService()->invoke("GetInvClassGradeLengths",
                                            automation::InvokeKind::Method, nothing),
               ComError);
}

TEST(FilterDialog, NamedFilterConfirmedCancelledOrUnknown) {
  test_support::demoAccount(registerClasses);
  auto host = std::make_shared<test_support::RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto session = sessionFor("demo");
  auto context = createAs<FilterContext>(kFilterContextProgId);
  context->setFlag(true);
  context->init("ST", session->login(), session->connection(), "001.2026");
  auto dialog = createAs<FilterDialog>(kFilterDialogProgId);

  host->filters = {std::string("cWhCode = '01'"), std::nullopt};
  EXPECT_EQ(dialog->showFilter(*context, "批次货位", "ST", nullptr), 1);
  ASSERT_NE(dialog->result(), nullptr);
  EXPECT_EQ(dialog->result()->whereText(), "cWhCode = '01'");
  ASSERT_EQ(host->filterRequests.size(), 1u);
  EXPECT_EQ(host->filterRequests[0].filterName, "批次货位");
  EXPECT_EQ(host->filterRequests[0].subsystem, "ST");

  // A cancelled filter leaves no result behind, nor does Terminate.
  EXPECT_NE(dialog->showFilter(*context, "批次货位", "ST", session->connection()), 1);
  EXPECT_EQ(dialog->result(), nullptr);
  dialog->terminate();
  EXPECT_EQ(dialog->result(), nullptr);

  // A name the subsystem does not define (another subsystem's included) is an error that names
  // it, and no dialog is shown.
  for (const auto& [name, subsystem] : {std::pair{"货位盘点", "ST"}, std::pair{"批次货位", "PU"}}) {
    try {
      dialog->showFilter(*context, name, subsystem, nullptr);
      ADD_FAILURE() << name;
    } catch (const ComError& e) {
      EXPECT_NE(e.description().find(std::string("[") + name + "]"), std::string::npos)
          << e.description();
    }
  }
  EXPECT_EQ(host->filterRequests.size(), 2u);
}

}  // namespace
}  // namespace quillon::components
