// What OK hands the host: the lists' statements re-read with the fixed column lists of each mode,
// and the material lines with this time's quantities from the temporary table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_queries.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_results.h"
#include "ww_fixture.h"

namespace quillon::dialogs::ww_produce_order {
namespace {

using automation::Variant;
using ww_testing::connect;
using ww_testing::fieldsOf;
using ww_testing::kDigits;

std::shared_ptr<ado::Recordset> open(const std::shared_ptr<ado::Connection>& conn,
                                     const std::string& sql) {
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(sql, conn);
  return rs;
}

std::vector<std::string> fieldNames(const ado::Recordset& rs) {
  std::vector<std::string> names;
  for (int i = 0; i < rs.fields()->count(); ++i) {
    names.push_back(rs.fields()->item(static_cast<std::size_t>(i))->name());
  }
  return names;
}

std::string text(const ado::Recordset& rs, const char* field) {
  const Variant v = rs.value(field);
  return v.isNull() ? std::string("NULL") : v.toString();
}

TEST(WWResults, HeadersReReadAfterEveryHeaderStatement) {
  auto conn = connect();
  const std::string fields = fieldsOf(conn, "OM_ProductPO");
  const std::string where = withDepartmentCondition("", "");
  // The receipt statement joins the order's lines: still one row per order.
  const std::string receipt = product1Sql(fields, 2, where, true, kDigits, false);
  auto one = open(conn, reReadSql(receipt, fields, headerColumns(false), headerCondition("(1)")));
  ASSERT_EQ(one->recordCount(), 1);
  EXPECT_EQ(text(*one, "cCode"), "WW26110001");
  EXPECT_EQ(text(*one, "cDepName"), "机加车间");
  EXPECT_EQ(text(*one, "cVenCode"), "V001");
  EXPECT_NE(text(*one, "cVenBank"), "NULL");
  const auto names = fieldNames(*one);
  EXPECT_EQ(names.front(), "SELCOL");
  EXPECT_EQ(names[14], "brts1");
  EXPECT_EQ(names.back(), "cvendefine16");

  // Type 39's header statement joins no department, vendor or person.
  const std::string x = productXSql(fields, 2, where, true, kDigits);
  auto three = open(conn, reReadSql(x, fields, headerColumns(false), headerCondition("(3,6)")));
  EXPECT_EQ(three->recordCount(), 2);
  const std::string z = productZSql(fields, 2, where, true, kDigits);
  auto several = open(conn, reReadSql(z, fields, headerColumns(true), headerCondition("(1,2)")));
  ASSERT_EQ(several->recordCount(), 2);
  EXPECT_EQ(fieldNames(*several).front(), "cVenName");
  EXPECT_EQ(text(*several, "ccode"), "");
  EXPECT_EQ(text(*several, "cVenCode"), "V001");

  EXPECT_THROW(reReadSql(receipt, "no such fields", headerColumns(false), "1=1"),
               automation::ComError);
}

TEST(WWResults, ProductLinesReReadWithTheColumnsOfTheirMode) {
  auto conn = connect();
  LineQuery q;
  q.digits = kDigits;
  q.fields = fieldsOf(conn, "qm_ncheckvoucher");
  q.ids = "(1)";
  const std::string receipt = poMainSql(q, false);
  auto sub = open(conn, reReadSql(receipt, q.fields, lineColumns(Mode::Receipt, false, true),
                                  selectionCondition({{"1", "", ""}, {"2", "1", ""}})));
  ASSERT_EQ(sub->recordCount(), 2);
  auto names = fieldNames(*sub);
  EXPECT_EQ(names.front(), "SELCOL");
  EXPECT_EQ(names.back(), "MakePrice");
  EXPECT_EQ(names[names.size() - 2], "iarrptrintype");
  sub->setFilter(Variant("MainID = 2"));
  // The inspected line offers its qualified goods; this time's quantity is the host's.
  EXPECT_DOUBLE_EQ(sub->value("fQuantity").toDouble(), 55);
  EXPECT_EQ(text(*sub, "iCurQuantity"), "");
  EXPECT_EQ(sub->value("ichkautoid").toLong(), 1);

  // Several headers put the order number first; without the estimate option no MakePrice.
  auto severalSub = open(conn, reReadSql(receipt, q.fields, lineColumns(Mode::Receipt, true, false),
                                         selectionCondition({{"1", "", ""}})));
  ASSERT_EQ(severalSub->recordCount(), 1);
  names = fieldNames(*severalSub);
  EXPECT_EQ(names.front(), "ccode");
  EXPECT_EQ(names.back(), "iarrptrintype");
  EXPECT_EQ(text(*severalSub, "ccode"), "WW26110001");

  q.ids = "(1,7)";
  const std::string concession = ybjsPoMainSql(q, true);
  auto accepted =
      open(conn, reReadSql(concession, q.fields, lineColumns(Mode::Concession, false, true),
                           selectionCondition({{"13", "5", "3"}})));
  ASSERT_EQ(accepted->recordCount(), 1);
  EXPECT_EQ(accepted->value("iarrptrintype").toLong(), 1);
  EXPECT_EQ(accepted->value("irejid").toLong(), 3);
  EXPECT_DOUBLE_EQ(accepted->value("fQuantity").toDouble(), 0.6);
  EXPECT_NE(text(*accepted, "crejtext"), "NULL");

  // The cartons: a fixed rate of 100 per box.
  q.ids = "(9)";
  auto cartons =
      open(conn, reReadSql(poMainSql(q, false), q.fields, lineColumns(Mode::Receipt, false, false),
                           selectionCondition({{"15", "", ""}})));
  ASSERT_EQ(cartons->recordCount(), 1);
  EXPECT_DOUBLE_EQ(cartons->value("iinvexchrate").toDouble(), 100);
  EXPECT_DOUBLE_EQ(cartons->value("iNum").toDouble(), 20);

  q.fields = fieldsOf(conn, "OM_POMain");
  q.ids = "(1,5)";
  const std::string issue = poMainZSql(q);
  auto lines = open(conn, reReadSql(issue, q.fields, lineColumns(Mode::Issue, false, false),
                                    selectionCondition({{"1", "", ""}})));
  ASSERT_EQ(lines->recordCount(), 1);
  EXPECT_EQ(fieldNames(*lines).back(), "cinvdefine16");
  auto many = open(conn, reReadSql(issue, q.fields, lineColumns(Mode::Issue, true, false),
                                   selectionCondition({{"1", "", ""}, {"9", "", ""}})));
  ASSERT_EQ(many->recordCount(), 2);
  EXPECT_EQ(text(*many, "cInvCode"), "");
  // Type 39 in each of its forms.
  q.ids = "(3,6)";
  for (CostObjects c :
       {CostObjects::SpreadNotByFree, CostObjects::SpreadByFree, CostObjects::Missing}) {
    auto x =
        open(conn, reReadSql(poMainXSql(q, c), q.fields, lineColumns(Mode::Issue, false, false),
                             selectionCondition({{"5", "", ""}})));
    EXPECT_EQ(x->recordCount(), 1);
  }
}

TEST(WWResults, ASelectionOfThousandsOfLinesIsReadAgain) {
  // One term a marked line: a selection as long as a large account's makes a condition of
  // thousands of terms, which the account file takes as well as the server does.
  auto conn = connect();
  LineQuery q;
  q.digits = kDigits;
  q.fields = fieldsOf(conn, "qm_ncheckvoucher");
  q.ids = "(1)";
  std::vector<SelectedLine> marked;
  for (int i = 0; i < 1500; ++i) {
    // Lines no order has, among them the two that are there.
    marked.push_back({std::to_string(100000 + i), i % 3 == 0 ? std::to_string(i) : "", ""});
    if (i == 700) marked.push_back({"1", "", ""});
    if (i == 1200) marked.push_back({"2", "1", ""});
  }
  auto sub =
      open(conn, reReadSql(poMainSql(q, false), q.fields, lineColumns(Mode::Receipt, false, true),
                           selectionCondition(marked)));
  ASSERT_EQ(sub->recordCount(), 2);
  std::set<int> mainIds;
  for (sub->moveFirst(); !sub->eof(); sub->moveNext())
    mainIds.insert(sub->value("MainID").toLong());
  EXPECT_EQ(mainIds, (std::set<int>{1, 2}));
}

TEST(WWResults, ALineClosedMeanwhileIsNotReadAgain) {
  auto conn = connect(ww_testing::demoCopy("closed-meanwhile"));
  LineQuery q;
  q.digits = kDigits;
  q.fields = fieldsOf(conn, "qm_ncheckvoucher");
  q.ids = "(1)";
  const std::string receipt = poMainSql(q, false);
  conn->execute("UPDATE OM_POMain SET cClose = 'other' WHERE MainID = 2");
  // The second line must not escape the statement's own conditions.
  auto sub = open(conn, reReadSql(receipt, q.fields, lineColumns(Mode::Receipt, false, false),
                                  selectionCondition({{"1", "", ""}, {"2", "1", ""}})));
  ASSERT_TRUE(sub->isOpen());
  EXPECT_EQ(sub->recordCount(), 1);
  EXPECT_EQ(sub->value("MainID").toLong(), 1);
}

TEST(WWResults, SelectionValuesStayLiterals) {
  EXPECT_EQ(selectionCondition({{"1", "", ""}}), "((  om_pomain.mainid=N'1'  ) )");
  EXPECT_EQ(selectionCondition({{"2", "1", "7"}, {"3", "", ""}}),
            "((  om_pomain.mainid=N'2'  and  qm_ncheckvouchers.autoid=N'1'  and  "
            "qm_ncvreject.id=N'7'  )  or (  om_pomain.mainid=N'3'  ) )");
  EXPECT_EQ(selectionCondition({{"1' or '1'='1", "", ""}}),
            "((  om_pomain.mainid=N'1'' or ''1''=''1'  ) )");
}

TEST(WWResults, MaterialQuantitiesGoThroughTheTemporaryTable) {
  auto conn = connect();
  const std::string table = materialTableName(417);
  EXPECT_EQ(table.front(), '#');
  conn->execute(createMaterialTableSql(table));
  conn->execute(insertMaterialSql(table, {"35", "1,250.50", "2.5"}));
  conn->execute(insertMaterialSql(table, {"36", "7", ""}));
  EXPECT_THROW(insertMaterialSql(table, {"36", "seven", ""}), automation::ComError);
  EXPECT_THROW(insertMaterialSql(table, {"36); DROP TABLE OM_PODetails; --", "1", "1"}),
               automation::ComError);
  EXPECT_EQ(insertMaterialSql(table, {" 5 ", "-1", "1E2"}),
            "insert into " + table + "(tSubID,iCurOutQuantity,iCurOutNum) values(5,(-1),100)");

  auto child = open(conn, childSql(table, {"35", "36"}));
  ASSERT_EQ(child->recordCount(), 2);
  const auto names = fieldNames(*child);
  EXPECT_EQ(names.front(), "SubID");
  EXPECT_EQ(names.back(), "citemname");
  child->setFilter(Variant("SubID = 35"));
  EXPECT_DOUBLE_EQ(child->value("iCurOutQuantity").toDouble(), 1250.5);
  EXPECT_DOUBLE_EQ(child->value("iCurOutNum").toDouble(), 2.5);
  EXPECT_EQ(text(*child, "cCode"), "WW26120007");
  EXPECT_EQ(text(*child, "cinvcode1"), "0303001");
  child->setFilter(Variant("SubID = 36"));
  EXPECT_EQ(text(*child, "iCurOutNum"), "NULL");
  EXPECT_DOUBLE_EQ(child->value("tdqtyd").toDouble(), 1);
  EXPECT_THROW(childSql(table, {"1 or 1=1"}), automation::ComError);
}

}  // namespace
}  // namespace quillon::dialogs::ww_produce_order
