// Statements the library and its dialogs run, with concrete values, on the scale-1 demo account:
// built by the library's own builders, they must run on the schema and find the rows the demo data
// was made to offer, so a builder that changes what it finds fails here.
#include <gtest/gtest.h>

#include "demo_fixture.h"
#include "dialogs/frmCons/cons_queries.h"
#include "dialogs/frmProduceOrder/produce_order_queries.h"
#include "dialogs/frmStockOrder/stock_order_queries.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_queries.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_rules.h"
#include "module/lookups.h"
#include "module/reference_lists.h"
#include "module/settings.h"
#include "sql/sql_text.h"

namespace quillon::db {
namespace {

namespace ww = dialogs::ww_produce_order;
namespace stock = dialogs::stock_order;
namespace cons = dialogs::cons;

using testing::columnSetFields;
using testing::demoDb;
using testing::idsOf;
using testing::numberOf;
using testing::rowsOf;
using testing::textOf;

// QuanDecDgt and NumDecDgt of the demo account.
const ww::Digits kDigits{"2", "2"};

TEST(Statements, AccountParameters) {
  EXPECT_EQ(textOf(demoDb(), module::AccountParameterQuery("st", "QuanDecDgt")), "2");
  // No value: the default stands in.
  EXPECT_EQ(textOf(demoDb(), module::AccountParameterQuery("st", "bShowStockFilter")), "1");
  EXPECT_TRUE(rowsOf(demoDb(), module::AccountParameterQuery("st", "NoSuchParameter")).empty());
  EXPECT_TRUE(rowsOf(demoDb(),
                     "select cvalue from dbo.AccInformation where cname='bOMInNeedOut' and "
                     "cvalue='true'")
                  .empty());
}

TEST(Statements, LookupQueries) {
  // Department lookups offer end-level departments only.
  EXPECT_EQ(idsOf(demoDb(), module::LookupQuery("rfdepartment", "02", "")),
            (std::set<std::int64_t>{201, 202, 203, 402}));
  EXPECT_EQ(rowsOf(demoDb(), module::LookupQuery("rfinventory", "0101", "1,2")).size(), 2u);
  EXPECT_EQ(rowsOf(demoDb(), module::LookupQuery("rfvendor", "V00", "'V001','V003'")).size(), 2u);
  for (const char* tag : {"rfwarehouse", "rfperson", "rfcustomer"}) {
    EXPECT_FALSE(rowsOf(demoDb(), module::LookupQuery(tag, "", "")).empty()) << tag;
  }
}

TEST(Statements, OutsourcedOrderHeadsPerMode) {
  const std::string fields = columnSetFields(demoDb(), "OM_ProductPO");
  // An unrestricted clerk: end-level departments and orders without one.
  const std::string where = ww::withDepartmentCondition("", "");
  EXPECT_EQ(idsOf(demoDb(), ww::product1Sql(fields, 2, where, true, kDigits, false)),
            (std::set<std::int64_t>{1, 3, 5, 6, 7, 9}));
  EXPECT_EQ(idsOf(demoDb(), ww::ybjsProductSql(fields, 2, where, true, kDigits, false)),
            (std::set<std::int64_t>{1, 7}));
  EXPECT_EQ(idsOf(demoDb(), ww::productZSql(fields, 2, where, true, kDigits)),
            (std::set<std::int64_t>{1, 2, 3, 5, 6, 7}));
  EXPECT_EQ(idsOf(demoDb(), ww::productXSql(fields, 2, where, true, kDigits)),
            (std::set<std::int64_t>{3, 6}));

  // The order filter of a host (as the public class writes it from the order number) and the
  // bOriginal narrowing name P's columns unqualified.
  const std::string byCode =
      ww::headerWhere("cCode = " + sql::literal("WW26110001"), ww::filterText({}, true).where);
  EXPECT_EQ(idsOf(demoDb(), ww::productZSql(fields, 2, byCode, false, kDigits)),
            (std::set<std::int64_t>{1}));
}

ww::LineQuery lineQuery(const std::string& fields, const std::string& ids, bool openOnly = true,
                        const std::string& extra = {}) {
  return ww::LineQuery{fields, ids, 2, openOnly, extra, kDigits};
}

TEST(Statements, OutsourcedProductLinesPerMode) {
  const std::string receiptFields = columnSetFields(demoDb(), ww::lineTable(true));
  const auto receipt = rowsOf(demoDb(), ww::poMainSql(lineQuery(receiptFields, "(1,7)"), false));
  std::set<std::int64_t> mainIds;
  for (const auto& row : receipt)
    mainIds.insert(static_cast<std::int64_t>(testing::asNumber(row[0])));
  EXPECT_EQ(mainIds, (std::set<std::int64_t>{1, 2, 12, 13}));
  // The inspected line offers its qualified quantity, not the ordered one: 55 good, 20 taken.
  EXPECT_EQ(numberOf(demoDb(), "select iCurQuantity from (" +
                                   ww::poMainSql(lineQuery(receiptFields, "(1)"), false) +
                                   ") t where MainID = 2"),
            35);

  EXPECT_EQ(idsOf(demoDb(), ww::ybjsPoMainSql(lineQuery(receiptFields, "(1,7)"), true)),
            (std::set<std::int64_t>{2, 13}));

  const std::string issueFields = columnSetFields(demoDb(), ww::lineTable(false));
  // Of order 5 the line taken by a limit requisition and the closed line drop out.
  EXPECT_EQ(idsOf(demoDb(), ww::poMainZSql(lineQuery(issueFields, "(5)", true,
                                                     ww::issueInventoryFilter("1,2,3,22")))),
            (std::set<std::int64_t>{9}));

  // Without the cost-object structure the X variant keeps lines whose materials are untouched.
  EXPECT_EQ(idsOf(demoDb(),
                  ww::poMainXSql(lineQuery(issueFields, "(3,6)", false), ww::CostObjects::Missing)),
            (std::set<std::int64_t>{5, 10}));
  EXPECT_EQ(numberOf(demoDb(), std::string(ww::kCostObjectTableProbe)), 1);
}

std::string materialStatement(const std::string& mainIds) {
  const std::string inventories = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22";
  return ww::materialSql(columnSetFields(demoDb(), "OM_PODetails"), mainIds,
                         ww::materialExtraCondition(ww::inventoryPermissionFilter(inventories)),
                         true, kDigits);
}

TEST(Statements, OutsourcedMaterialLinesAndTheirChecks) {
  // Product line 1: 200 shafts of 5.5 kg round steel each, 40 % issued; the steel's unit group
  // floats, so the open pieces are ordered minus issued pieces and the rate follows from them.
  const auto rows =
      rowsOf(demoDb(), "select cInvCode, iCurOutQuantity, iCurOutNum, iinvexchrate from (" +
                           materialStatement("(1)") + ") t");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(testing::asText(rows[0][0]), "0101002");
  EXPECT_DOUBLE_EQ(testing::asNumber(rows[0][1]), 660);
  EXPECT_NEAR(testing::asNumber(rows[0][2]), 8.8, 1e-9);
  EXPECT_NEAR(testing::asNumber(rows[0][3]), 75, 1e-6);

  // Product line 9: its floating-rate material has all pieces issued but not all quantity: no
  // open pieces and an empty rate; its fixed-rate materials use the unit's rate.
  const auto line9 = rowsOf(demoDb(), "select cInvCode, iCurOutNum, iinvexchrate from (" +
                                          materialStatement("(9)") + ") t order by cInvCode");
  ASSERT_EQ(line9.size(), 3u);
  EXPECT_EQ(testing::asText(line9[0][0]), "0101005");
  EXPECT_TRUE(line9[0][1].isNull());
  EXPECT_EQ(testing::asText(line9[0][2]), "");
  EXPECT_NEAR(testing::asNumber(line9[1][2]), 100, 1e-9);
  EXPECT_NEAR(testing::asNumber(line9[2][2]), 10, 1e-9);

  EXPECT_EQ(numberOf(demoDb(), ww::materialStateProbe("(6)")), 3);
  EXPECT_EQ(numberOf(demoDb(), ww::materialUsedProbe("(7)")), 1);
  EXPECT_TRUE(rowsOf(demoDb(), ww::materialStateProbe("(9999)")).empty());
}

TEST(Statements, PurchaseAndDeliveryHeadSources) {
  // A filter run in November for plain purchases (or none), by a clerk of department 03.
  stock::FilterBoxes november;
  november.lowerDate = "2026-11-01";
  november.upperDate = "2026-11-30";
  november.busType = "普通采购";
  EXPECT_EQ(numberOf(demoDb(), "select count(*) from zpurpoheader where " +
                                   stock::headFilter(stock::kOrderTab, november, "'03'")),
            5);
  stock::FilterBoxes ofOrder;
  ofOrder.orderCode = "PO26110001";
  ofOrder.vendor = textOf(demoDb(), "select cVenAbbName from Vendor where cVenCode = 'V005'");
  EXPECT_EQ(numberOf(demoDb(), "select count(*) from pu_ArrHead where " +
                                   stock::headFilter(stock::kArrivalTab, ofOrder, "'03'")),
            3);  // arrival notes 1 and 6, and the red note 10 returning goods of that order

  cons::FilterBoxes consignment;
  consignment.warehouseCode = "06";
  consignment.department = "销售二部";
  consignment.vouchType = "委托代销发货单";
  EXPECT_EQ(numberOf(demoDb(),
                     "select count(*) from DispatchList inner join DispatchLists on "
                     "DispatchLists.DLID = DispatchList.DLID left join Department on "
                     "Department.cDepCode = DispatchList.cDepCode left join Person on "
                     "Person.cPersonCode = DispatchList.cPersonCode left join Customer on "
                     "Customer.cCusCode = DispatchList.cCusCode left join VouchType on "
                     "VouchType.cVouchType = DispatchList.cVouchType where " +
                         cons::headFilter(consignment, cons::departmentCondition(""))),
            2);

  // Order lines of one order, narrowed to consignment items, the permitted inventories and a
  // planned arrival range.
  EXPECT_EQ(numberOf(demoDb(),
                     "select count(*) from PO_Podetails inner join Inventory on "
                     "Inventory.cInvCode = PO_Podetails.cInvCode where "
                     "PO_Podetails.POID = 5 and " +
                         stock::orderLineCondition("32,33", "2026-11-01", "", true)),
            2);
  EXPECT_EQ(
      numberOf(demoDb(),
               "select count(*) from PU_ArrivalVouchs left join Warehouse on "
               "Warehouse.cWhCode = PU_ArrivalVouchs.cWhCode where " +
                   stock::arrivalLineCondition("", "'01','02'", "原料仓", false, false, false)),
      9);
}

TEST(Statements, ProductionOrderListsAndTheirReRead) {
  using namespace dialogs::produce_order;
  // The head list with the clerk's department permission, and the type-71 narrowing.
  const std::string clerkDepartments = withDepartmentCondition("", "'0201','0202'");
  EXPECT_EQ(idsOf(demoDb(), "select id from pp_poheader where " + clerkDepartments),
            (std::set<std::int64_t>{2, 3, 5, 7, 8}));
  FilterFields none;
  EXPECT_EQ(
      idsOf(demoDb(), "select id from pp_poheader where " +
                          joinHeadConditions(filterConditions(none, 71).head, clerkDepartments)),
      (std::set<std::int64_t>{3, 7}));
  FilterFields fields;
  fields.lowerDate = "2026-11-15";
  fields.upperDate = "2026-11-30";
  fields.orderCode = "MO26110004";
  EXPECT_EQ(idsOf(demoDb(), "select id from pp_poheader where " + filterConditions(fields, 0).head),
            (std::set<std::int64_t>{4}));

  // Lines of a head, narrowed to permitted inventories, re-read with the chosen keys before the
  // source's "order by".
  const std::string lines =
      "select * from pp_pomain where id = 1 and " + inventoryCondition("23,27") + " ";
  EXPECT_EQ(idsOf(demoDb(), "select mainid from (" + lines + ") t"),
            (std::set<std::int64_t>{1, 2}));
  const auto reread =
      rowsOf(demoDb(), module::NarrowedSource(lines + "order by mainid",
                                              "pp_pomain.mainid" + module::KeyInList({"2"})));
  ASSERT_EQ(reread.size(), 1u);
  EXPECT_DOUBLE_EQ(numberOf(demoDb(), "select icurquantity from pp_pomain where mainid = 1"), 15);
}

TEST(Statements, LineSourcesOfTheOrderArrivalAndDeliveryLists) {
  // Each line list reads its over-receipt / over-issue quantity four fields before the end.
  for (const char* view : {"zpurpodetail", "pu_ArrBody", "DispatchBody"}) {
    const auto results = demoDb().query(std::string("select * from ") + view + " where 1 = 0");
    ASSERT_EQ(results.size(), 1u);
    const auto& columns = results[0].columns;
    ASSERT_GE(columns.size(), 4u);
    EXPECT_EQ(columns[columns.size() - 4].name, "iquantity") << view;
  }
  // The line WHERE texts of the order and delivery dialogs, on their views.
  const auto orderLines =
      rowsOf(demoDb(),
             "select v.id, v.cwhname, v.iquantity - v.iarrqty - v.ireceivedqty from "
             "zpurpodetail v inner join Inventory on Inventory.cInvCode = v.cinvcode "
             "where v.poid = 7 and " +
                 stock::orderLineCondition("12,14", "2026-12-01", "", false) + " order by v.id");
  ASSERT_EQ(orderLines.size(), 2u);
  EXPECT_EQ(testing::asText(orderLines[0][1]), "标准件仓");
  EXPECT_DOUBLE_EQ(testing::asNumber(orderLines[1][2]), -2);  // shown as 0 by the list
  EXPECT_EQ(rowsOf(demoDb(),
                   "select v.* from pu_ArrBody v inner join PU_ArrivalVouchs on "
                   "PU_ArrivalVouchs.Autoid = v.autoid inner join Inventory on "
                   "Inventory.cInvCode = v.cinvcode where v.id = 1 and " +
                       stock::arrivalLineCondition("1,2", "'01'", "原料仓", false, false, false))
                .size(),
            2u);
  EXPECT_EQ(idsOf(demoDb(),
                  "select v.autoid from DispatchBody v inner join DispatchLists on "
                  "DispatchLists.AutoID = v.autoid where " +
                      cons::noteLineFilter(5, cons::lineConditions("04", "", "23,25"))),
            (std::set<std::int64_t>{8, 9}));
  EXPECT_EQ(
      numberOf(demoDb(), "select sum(iquantity - foutquantity) from DispatchBody where dlid = 5"),
      -2);
}

}  // namespace
}  // namespace quillon::db
