// The list statements of the outsourced-order dialog, built with the demo account's column sets
// and run on it: each mode lists what the demo rows were made to offer.
#include <gtest/gtest.h>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "components/session_context.h"
#include "components/suite/login.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_queries.h"
#include "module/session.h"
#include "support/demo_account.h"
#include "ww_fixture.h"

namespace quillon::dialogs::ww_produce_order {
namespace {

using ww_testing::connect;
using ww_testing::fieldsOf;
using ww_testing::kDigits;
using ww_testing::keysOf;

std::string permittedInventories(const std::string& user) {
  std::shared_ptr<components::MarlinLogin> login =
      test_support::loginAs(user, ww_testing::demoPath());
  auto session = module::OpenContext(login, false);
  return session->permissionList("inventory", "", "W");
}

TEST(WWQueries, FilterTextKeepsValuesInsideTheirLiterals) {
  FilterFields f;
  EXPECT_EQ(filterText(f, false).where, "");
  EXPECT_EQ(filterText(f, true).where, "bOriginal='1'");
  f.lowerDate = "2026-11-30";
  f.upperDate = "2026-11-01";
  f.department = "0201";
  f.person = "002";
  f.orderCode = "WW'1";
  f.vendor = "V001";
  const FilterText t = filterText(f, true);
  EXPECT_EQ(t.where,
            "P.dDate >= N'2026-11-01' AND P.dDate <= N'2026-11-30' and P.cDepCode = N'0201' and "
            "P.cPersonCode = N'002' and P.cCode = N'WW''1' and P.cVenCode = N'V001' AND "
            "bOriginal='1'");
  EXPECT_EQ(t.product, "");
  // A product alone narrows the loaded lines: the other fields are dropped.
  f.item = "0201001";
  EXPECT_EQ(filterText(f, true).where, "");
  EXPECT_EQ(filterText(f, true).product, " cInvCode = '0201001'");

  EXPECT_EQ(headerWhere("", "x = 1"), "x = 1");
  EXPECT_EQ(headerWhere("cCode = 'A'", ""), "cCode = 'A'");
  EXPECT_EQ(headerWhere("cCode = 'A'", "x = 1"), "cCode = 'A' and x = 1");
}

TEST(WWQueries, HeadersOfEachModeWithTheDepartmentCondition) {
  auto conn = connect();
  const std::string fields = fieldsOf(conn, "OM_ProductPO");
  const std::string where = withDepartmentCondition("", "");
  auto heads = [&](const std::string& sql) { return keysOf(conn, sql, "ID"); };
  EXPECT_EQ(heads(product1Sql(fields, 2, where, true, kDigits, false)),
            (std::set<int>{1, 3, 5, 6, 7, 9}));
  EXPECT_EQ(heads(ybjsProductSql(fields, 2, where, true, kDigits, false)), (std::set<int>{1, 7}));
  EXPECT_EQ(heads(productZSql(fields, 2, where, true, kDigits)), (std::set<int>{1, 2, 3, 5, 6, 7}));
  EXPECT_EQ(heads(productXSql(fields, 2, where, true, kDigits)), (std::set<int>{3, 6}));
  // Without the open-only flag the inspected order 2 still needs a verified inspection.
  EXPECT_EQ(heads(product1Sql(fields, 2, where, false, kDigits, false)),
            (std::set<int>{1, 3, 5, 6, 7, 9}));
  EXPECT_EQ(heads(ybjsProductSql(fields, 2, where, false, kDigits, false)), (std::set<int>{1, 7}));
  // Materials issued (or taken over by the vendor) first, when the account asks for it.
  EXPECT_EQ(heads(product1Sql(fields, 2, where, true, kDigits, true)), (std::set<int>{1, 3, 5, 7}));
  EXPECT_EQ(heads(ybjsProductSql(fields, 2, where, true, kDigits, true)), (std::set<int>{1, 7}));

  // The clerk's departments, the order filter of a host's order number and a filter text.
  const std::string clerk = withDepartmentCondition("cCode = N'WW26110001'", "'0201','0202'");
  EXPECT_EQ(heads(product1Sql(fields, 2, clerk, true, kDigits, false)), (std::set<int>{1}));
  FilterFields f;
  f.vendor = "V004";
  EXPECT_EQ(
      heads(productZSql(fields, 2, headerWhere(where, filterText(f, false).where), true, kDigits)),
      (std::set<int>{7}));
  EXPECT_EQ(heads(productZSql(fields, 2, filterText(FilterFields{}, true).where, true, kDigits)),
            (std::set<int>{1, 5, 6}));
}

TEST(WWQueries, ProductLinesOfEachMode) {
  auto conn = connect();
  LineQuery q;
  q.digits = kDigits;
  auto lines = [&](const std::string& sql) { return keysOf(conn, sql, "MainID"); };

  q.fields = fieldsOf(conn, "qm_ncheckvoucher");
  q.ids = "(1,7,9)";
  // The uninspected open line, the inspected lines with qualified goods still open, the cartons.
  EXPECT_EQ(lines(poMainSql(q, false)), (std::set<int>{1, 2, 12, 13, 15}));
  EXPECT_EQ(lines(ybjsPoMainSql(q, true)), (std::set<int>{2, 13}));
  q.openOnly = false;
  EXPECT_EQ(lines(poMainSql(q, false)), (std::set<int>{1, 2, 11, 12, 13, 15}));
  EXPECT_EQ(lines(ybjsPoMainSql(q, false)), (std::set<int>{2, 12, 13}));
  q.openOnly = true;
  // The extra condition narrows to the permitted inventories.
  q.extra = inventoryPermissionFilter(permittedInventories("omclerk"));
  EXPECT_EQ(lines(poMainSql(q, false)), (std::set<int>{12, 13}));

  q.fields = fieldsOf(conn, "OM_POMain");
  q.ids = "(5)";
  q.extra.clear();
  // Taken by a limit requisition, closed: only the project line stays.
  EXPECT_EQ(lines(poMainZSql(q)), (std::set<int>{9}));
  q.ids = "(1,7)";
  q.extra = issueInventoryFilter(permittedInventories("omclerk"));
  EXPECT_EQ(lines(poMainZSql(q)), (std::set<int>{12, 13}));
  q.extra = issueInventoryFilter(permittedInventories("clerk"));
  EXPECT_EQ(lines(poMainZSql(q)), (std::set<int>{}));
}

TEST(WWQueries, TheType39StatementRunsInAllThreeForms) {
  const std::string path = ww_testing::demoCopy("type39");
  auto conn = connect(path);
  LineQuery q;
  q.digits = kDigits;
  q.fields = fieldsOf(conn, "OM_POMain");
  q.ids = "(3,6)";
  auto lines = [&](const std::string& sql) { return keysOf(conn, sql, "MainID"); };
  // With the cost-object table: one row per line whether structures follow free items or not.
  EXPECT_EQ(lines(poMainXSql(q, CostObjects::SpreadNotByFree)), (std::set<int>{5, 10}));
  EXPECT_EQ(ww_testing::rowCount(conn, poMainXSql(q, CostObjects::SpreadNotByFree)), 2);
  EXPECT_EQ(lines(poMainXSql(q, CostObjects::SpreadByFree)), (std::set<int>{5, 10}));
  EXPECT_EQ(ww_testing::rowCount(conn, poMainXSql(q, CostObjects::SpreadByFree)), 2);
  EXPECT_EQ(keysOf(conn, std::string(kCostObjectTableProbe), "myNum"), (std::set<int>{1}));

  // Without class 99 no line is a cost object's.
  conn->execute("UPDATE fitem SET cItem_Class = '98' WHERE cItem_Class = '99'");
  EXPECT_EQ(lines(poMainXSql(q, CostObjects::SpreadNotByFree)), (std::set<int>{}));
  conn->execute("UPDATE fitem SET cItem_Class = '99' WHERE cItem_Class = '98'");

  conn->execute("DROP TABLE fitemss99");
  EXPECT_EQ(keysOf(conn, std::string(kCostObjectTableProbe), "myNum"), (std::set<int>{0}));
  EXPECT_EQ(lines(poMainXSql(q, CostObjects::Missing)), (std::set<int>{5, 10}));
}

TEST(WWQueries, MaterialLinesTheirOpenPiecesAndChecks) {
  auto conn = connect();
  const std::string fields = fieldsOf(conn, "OM_PODetails");
  auto subs = [&](const std::string& sql) { return keysOf(conn, sql, "SubID"); };
  EXPECT_EQ(subs(materialSql(fields, "(13)", "", true, kDigits)), (std::set<int>{34, 35, 36, 37}));
  // The filter is built for product lines with "OM_POmain": its prefix is the material's now.
  const std::string filter = inventoryPermissionFilter(permittedInventories("omclerk"));
  const std::string extra = materialExtraCondition(filter);
  EXPECT_EQ(extra.rfind("p.cInvCode in ( select II.cInvCode From Inventory II", 0), 0u) << extra;
  EXPECT_EQ(subs(materialSql(fields, "(13)", extra, true, kDigits)), (std::set<int>{35, 36}));
  EXPECT_EQ(materialExtraCondition("cInvCode = 'x'"), "cInvCode = 'x'");
  // Fully issued materials show only without the open-only flag.
  EXPECT_EQ(subs(materialSql(fields, "(4)", "", true, kDigits)), (std::set<int>{}));
  EXPECT_FALSE(subs(materialSql(fields, "(4)", "", false, kDigits)).empty());

  // The exchange rate is a number, or NULL for a unit without pieces, on either engine.
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(materialSql(fields, "(1,13)", "", false, kDigits), conn);
  int rates = 0;
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
    const automation::Variant rate = rs->value("iinvexchrate");
    EXPECT_TRUE(rate.isNull() || rate.isNumber()) << "SubID " << rs->value("SubID").toLong();
    if (rs->value("SubID").toLong() == 1) {
      EXPECT_DOUBLE_EQ(rate.toDouble(), 75.0);
    }
    rates += rate.isNumber() ? 1 : 0;
  }
  EXPECT_GT(rates, 0);

  EXPECT_EQ(keysOf(conn, materialStateProbe("(6)"), "iState"), (std::set<int>{3}));
  EXPECT_EQ(keysOf(conn, materialStateProbe("(1,13)"), "iState"), (std::set<int>{2}));
  EXPECT_EQ(keysOf(conn, materialStateProbe("(9999)"), "iState"), (std::set<int>{}));
  EXPECT_EQ(ww_testing::rowCount(conn, materialUsedProbe("(7,9)")), 2);
}

}  // namespace
}  // namespace quillon::dialogs::ww_produce_order
