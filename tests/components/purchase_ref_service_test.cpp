#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ado/recordset.h"
#include "automation/com_error.h"
#include "components/purchase_ref_service.h"
#include "components/registration.h"
#include "components/suite/purchase_ref_object.h"
#include "demo_sessions.h"
#include "support/recordset_checks.h"

namespace quillon::components {
namespace {

using automation::Variant;
using testing::sessionFor;
using Rs = std::shared_ptr<ado::Recordset>;

using test_support::keys;

std::vector<std::string> texts(ado::Recordset& rs, const char* field) {
  std::vector<std::string> out;
  if (rs.bof() && rs.eof()) return out;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) out.push_back(rs.value(field).toString());
  return out;
}

// The clerk's conditions as the order dialog builds them.
constexpr const char* kClerkDepartments =
    "(cDepCode in ('0201','0202','0401') OR ISNULL(cDepCode, '') = '')";

TEST(PurchaseRefService, HeadsAreVerifiedDocumentsWithALineLeftUnlessShowClosed) {
  auto demo = sessionFor("demo");
  suite::PurchaseRefServiceObject service;
  Rs rs;
  EXPECT_FALSE(service.showClosed());
  // Order 2's unclosed lines and order 10's lines are fully executed; order 6 is closed and
  // order 11 not verified, so they never show.
  service.getOrderHeads(*demo, "", rs);
  EXPECT_EQ(keys(*rs, "poid"), (std::set<int>{1, 3, 4, 5, 7, 8, 9}));
  EXPECT_EQ(rs->fields()->item(0)->name(), "poid");
  service.setShowClosed(true);
  service.getOrderHeads(*demo, "", rs);
  EXPECT_EQ(keys(*rs, "poid"), (std::set<int>{1, 2, 3, 4, 5, 7, 8, 9, 10}));

  // Arrival note 9 is not verified; the red notes 6 and 10 are open by magnitude.
  service.getArrivalHeads(*demo, "", rs);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 10}));
  EXPECT_EQ(rs->fields()->item(0)->name(), "id");
  service.setShowClosed(false);
  service.getArrivalHeads(*demo, "", rs);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 10}));

  // The WHERE texts of the dialog: qualified names, the unqualified department code, and the
  // business-type branches whose OR must not widen what is offered.
  service.getOrderHeads(*demo, kClerkDepartments, rs);
  EXPECT_EQ(keys(*rs, "poid"), (std::set<int>{7, 9}));
  service.getOrderHeads(
      *demo, "(( zpurpoheader.cBusType = '普通采购') Or ( zpurpoheader.cBusType = ''))", rs);
  EXPECT_EQ(keys(*rs, "poid"), (std::set<int>{1, 3, 4, 7, 8, 9}));
  service.getOrderHeads(*demo,
                        "zpurpoheader.dpodate >= '2026-11-20' AND    zpurpoheader.dpodate <= "
                        "'2026-12-31' and zpurpoheader.cVenAbbName = '鑫源五金01' and "
                        "zpurpoheader.cpersonname = '王芳'",
                        rs);
  EXPECT_EQ(keys(*rs, "poid"), (std::set<int>{9}));
  service.getArrivalHeads(
      *demo,
      std::string(" pu_ArrHead.cdepname = '机加车间' and pu_ArrHead.cCode = 'DH26120008' and "
                  "pu_ArrHead.cPOId = 'PO26110009' AND ") +
          "(cDepCode in ('0201') OR ISNULL(cDepCode, '') = '')",
      rs);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{8}));
}

TEST(PurchaseRefService, LinesInDocumentOrderWithTheirConditionsAndLayout) {
  auto clerk = sessionFor("clerk");
  suite::PurchaseRefServiceObject service;
  const std::string inventories =
      "Inventory.iId IN(" + clerk->permissionList("inventory", "", "W") + ")";
  Rs rs;
  service.getOrderLines(*clerk, 9, "", rs);
  EXPECT_EQ(texts(*rs, "cinvcode"), (std::vector<std::string>{"0101002", "0102001", "0103002"}));
  service.getOrderLines(*clerk, 9, inventories, rs);
  EXPECT_EQ(texts(*rs, "cinvcode"), (std::vector<std::string>{"0101002", "0102001"}));
  // The order quantity is the fourth field from the end, as the over-receipt rule reads it.
  const int fields = rs->fields()->count();
  EXPECT_EQ(rs->fields()->item(static_cast<std::size_t>(fields - 4))->name(), "iquantity");
  EXPECT_EQ(rs->fields()->item(0)->name(), "id");
  for (const char* name : {"iarrqty", "ireceivedqty", "finexcess", "cwhcode", "poid"}) {
    EXPECT_NO_THROW(rs->field(Variant(name))) << name;
  }
  // Consignment lines and planned arrival dates.
  service.getOrderLines(*clerk, 5, "Inventory.bInvEntrust=1", rs);
  EXPECT_EQ(rs->recordCount(), 3);
  service.getOrderLines(*clerk, 9, "dArriveDate >= '2026-12-09'", rs);
  EXPECT_EQ(texts(*rs, "cinvcode"), (std::vector<std::string>{"0102001", "0103002"}));

  // Fully executed lines only with ShowClosed; a closed line never.
  service.getOrderLines(*clerk, 10, "", rs);
  EXPECT_EQ(rs->recordCount(), 0);
  service.setShowClosed(true);
  service.getOrderLines(*clerk, 10, "", rs);
  EXPECT_EQ(rs->recordCount(), 2);
  service.getOrderLines(*clerk, 2, "", rs);
  EXPECT_EQ(texts(*rs, "cinvcode"), (std::vector<std::string>{"0102001", "0102004"}));
  service.getArrivalLines(*clerk, 1, "", rs);
  EXPECT_EQ(rs->recordCount(), 2);
  service.setShowClosed(false);
  service.getArrivalLines(*clerk, 1, "", rs);
  EXPECT_EQ(texts(*rs, "cinvcode"), (std::vector<std::string>{"0101001"}));
  // Not verified: nothing, whatever the id.
  service.getOrderLines(*clerk, 11, "", rs);
  EXPECT_EQ(rs->recordCount(), 0);

  // Arrival lines: inventories, the warehouse clause on the line table, the warehouse name.
  const std::string warehouses = " AND (PU_ArrivalVouchs.cWhCode in (" +
                                 clerk->permissionList("warehouse", "", "W") +
                                 ") OR ISNULL(PU_ArrivalVouchs.cWhCode,'') = '')";
  service.getArrivalLines(*clerk, 8, inventories + warehouses, rs);
  EXPECT_EQ(texts(*rs, "cinvcode"), (std::vector<std::string>{"0101002", "0102001"}));
  EXPECT_EQ(rs->fields()->item(1)->name(), "autoid");
  const int arrivalFields = rs->fields()->count();
  EXPECT_EQ(rs->fields()->item(static_cast<std::size_t>(arrivalFields - 4))->name(), "iquantity");
  service.getArrivalLines(*clerk, 8, inventories + " and  cWhName = '原料仓'", rs);
  EXPECT_EQ(texts(*rs, "cinvcode"), (std::vector<std::string>{"0101002"}));
  service.getArrivalLines(*clerk, 6, "", rs);
  EXPECT_EQ(rs->recordCount(), 1);
  EXPECT_DOUBLE_EQ(rs->value("iquantity").toDouble(), -4);
}

TEST(PurchaseRefService, OneInstanceLateBoundAndRefusedStatementsLeaveTheResult) {
  test_support::registerClassesOnce(test_support::registerSuiteClasses);
  auto a = createAs<PurchaseRefService>(kPurchaseRefServiceProgId);
  auto b = createAs<PurchaseRefService>(kPurchaseRefServiceProgId);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, purchaseRefService());

  auto demo = sessionFor("demo");
  std::vector<Variant> let{Variant(true)};
  a->invoke("ShowClosed", automation::InvokeKind::PropertyLet, let);
  EXPECT_TRUE(purchaseRefService()->showClosed());
  std::vector<Variant> args{Variant(std::static_pointer_cast<automation::Object>(demo)),
                            Variant(""), Variant()};
  a->invoke("GetOrderHeads", automation::InvokeKind::Method, args);
  auto heads = automation::toObjectAs<ado::Recordset>(args[2]);
  ASSERT_TRUE(heads);
  EXPECT_EQ(heads->recordCount(), 9);
  std::vector<Variant> lineArgs{Variant(std::static_pointer_cast<automation::Object>(demo)),
                                Variant(std::int32_t{1}), Variant(""), args[2]};
  a->invoke("GetArrivalLines", automation::InvokeKind::Method, lineArgs);
  EXPECT_EQ(automation::toObjectAs<ado::Recordset>(lineArgs[3])->recordCount(), 2);
  a->setShowClosed(false);

  Rs kept = heads;
  EXPECT_THROW(a->getOrderHeads(*demo, "no_such_column = 1", kept), automation::ComError);
  EXPECT_EQ(kept, heads);
  std::vector<Variant> noSession{Variant::nothing(), Variant(""), Variant()};
  EXPECT_THROW(a->invoke("GetOrderHeads", automation::InvokeKind::Method, noSession),
               automation::ComError);
}

// Delivery notes: verified notes with an open line, one row per note whatever its lines match,
// every name the delivery dialog's filter uses.
TEST(PurchaseRefService, DeliveryHeadsOnePerVerifiedNoteWithEveryFilterName) {
  auto demo = sessionFor("demo");
  suite::PurchaseRefServiceObject service;
  Rs rs;
  // 8 is closed, 14 not verified, 12 issued in full; red note 5 still has an open line.
  service.getDeliveryHeads(*demo, "", rs);
  EXPECT_EQ(keys(*rs, "dlid"), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 13}));
  EXPECT_EQ(rs->fields()->item(0)->name(), "dlid");
  for (const char* name : {"cbillname", "cdlcode", "csbvcode", "ddate", "cstname", "cbustype",
                           "ccusname", "cdepname", "cpersonname", "cmaker", "cverifier"}) {
    EXPECT_NO_THROW(rs->field(Variant(name))) << name;
  }
  service.setShowClosed(true);
  service.getDeliveryHeads(*demo, "", rs);
  EXPECT_EQ(keys(*rs, "dlid"), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13}));
  service.setShowClosed(false);

  // Note 3 has two lines in warehouse 06 and is still one row.
  service.getDeliveryHeads(*demo, " DispatchLists.cwhcode = N'06'", rs);
  EXPECT_EQ(texts(*rs, "cdlcode"),
            (std::vector<std::string>{"FH26110003", "FH26120011", "FH26120009"}));
  service.getDeliveryHeads(*demo,
                           " Department.cDepName = N'销售一部' and Person.cPersonName = N'赵磊' "
                           "and Customer.cCusAbbName = N'宏达钢材01'",
                           rs);
  EXPECT_EQ(keys(*rs, "dlid"), (std::set<int>{1, 6, 9}));
  service.getDeliveryHeads(*demo,
                           " VouchType.cVouchName = N'委托代销发货单' and DispatchList.cBusType = "
                           "N'委托代销'",
                           rs);
  EXPECT_EQ(texts(*rs, "cbillname"), (std::vector<std::string>{"委托代销发货单"}));
  service.getDeliveryHeads(*demo,
                           "DispatchList.dDate >= N'2026-12-01' AND    DispatchList.dDate <= "
                           "N'2026-12-04' and  DispatchList.cSBVCode =N'PT26120001'",
                           rs);
  EXPECT_EQ(keys(*rs, "dlid"), (std::set<int>{7}));
  // The department rights of a restricted user, with an OR of their own.
  service.getDeliveryHeads(*demo,
                           "(DispatchList.cDepCode IN('0402') OR ISNULL(DispatchList.cDepCode,'') "
                           "= '')",
                           rs);
  EXPECT_EQ(keys(*rs, "dlid"), (std::set<int>{3, 5, 7, 11, 13}));
}

TEST(PurchaseRefService, DeliveryLinesEveryLineOfTheNoteInOrderWithTheQuantityFourthFromTheEnd) {
  auto clerk = sessionFor("clerk");
  suite::PurchaseRefServiceObject service;
  Rs rs;
  service.getDeliveryLines(*clerk, "DispatchLists.DLID=9", rs);
  EXPECT_EQ(texts(*rs, "cwhcode"), (std::vector<std::string>{"06", "04"}));
  const int fields = rs->fields()->count();
  EXPECT_EQ(rs->fields()->item(static_cast<std::size_t>(fields - 4))->name(), "iquantity");
  EXPECT_EQ(rs->fields()->item(0)->name(), "dlid");
  EXPECT_EQ(rs->fields()->item(1)->name(), "autoid");
  for (const char* name : {"foutquantity", "foutexcess", "icorid", "cinvouchcode", "ccode"}) {
    EXPECT_NO_THROW(rs->field(Variant(name))) << name;
  }
  service.getDeliveryLines(
      *clerk, "DispatchLists.DLID=9 AND DispatchLists.cWhCode IN (" +
                  clerk->permissionList("warehouse", "", "W") +
                  ") AND DispatchLists.cInvCode in ( select II.cInvCode From Inventory II where "
                  "II.cInvCode = DispatchLists.cInvCode and II.iid IN(" +
                  clerk->permissionList("inventory", "", "W") + "))",
      rs);
  EXPECT_EQ(texts(*rs, "cwhcode"), (std::vector<std::string>{"06"}));
  // Issued in full still listed, whatever ShowClosed says; a note not verified gives nothing.
  service.getDeliveryLines(*clerk, "DispatchLists.DLID=12", rs);
  EXPECT_EQ(rs->recordCount(), 1);
  service.getDeliveryLines(*clerk, "DispatchLists.DLID=14", rs);
  EXPECT_EQ(rs->recordCount(), 0);
  service.getDeliveryLines(*clerk, "DispatchLists.DLID=5", rs);
  EXPECT_EQ(texts(*rs, "cinvcode"), (std::vector<std::string>{"0301001", "0302001"}));

  // Late-bound, as a host calls it.
  std::vector<Variant> args{Variant(std::static_pointer_cast<automation::Object>(clerk)),
                            Variant("DispatchLists.DLID=10"), Variant()};
  purchaseRefService()->invoke("GetDeliveryLines", automation::InvokeKind::Method, args);
  EXPECT_EQ(automation::toObjectAs<ado::Recordset>(args[2])->recordCount(), 2);
}

}  // namespace
}  // namespace quillon::components
