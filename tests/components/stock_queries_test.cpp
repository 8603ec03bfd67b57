// The suite's candidate queries for the stock selection on the demo account: their field layouts,
// the rows they offer for a line, and that the work-table rewrites of hosts still run on them.
#include <gtest/gtest.h>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/collection.h"
#include "components/suite/stock_queries_object.h"
#include "demo_sessions.h"

namespace quillon::components {
namespace {

using automation::Variant;

std::shared_ptr<ado::Recordset> run(const std::string& sql) {
  return test_support::connect(testing::demoPath())->execute(sql);
}

// The name of the field `offset` places from the end (1 = the last).
std::string fromEnd(ado::Recordset& rs, int offset) {
  const std::int32_t count = rs.fields()->count();
  return rs.fields()->item(static_cast<std::size_t>(count - offset))->name();
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

TEST(StockQueries, CurrentStockLayouts) {
  suite::StockQueriesObject queries;
  StockLine line{"01", "0101002", {}, ""};
  auto rs = run(queries.currentStockSql(line, false));
  ASSERT_EQ(rs->recordCount(), 3);  // the three batches of the item in warehouse 01
  EXPECT_EQ(fromEnd(*rs, 11), "结存数量");
  EXPECT_EQ(fromEnd(*rs, 10), "结存件数");
  EXPECT_EQ(fromEnd(*rs, 5), "出库数量");
  EXPECT_EQ(fromEnd(*rs, 4), "出库件数");
  EXPECT_EQ(fromEnd(*rs, 3), "AutoID");
  for (const char* name : {"批号", "失效日期"}) EXPECT_NO_THROW(rs->field(Variant(name)));
  // The this-time fields take decimals.
  rs->setValue(Variant("出库数量"), Variant(2.25));
  EXPECT_EQ(rs->value("出库数量").toDouble(), 2.25);
  EXPECT_EQ(rs->value("cWhCode").toString(), "01");

  auto book = run(queries.currentStockSql(line, true));
  EXPECT_EQ(fromEnd(*book, 7), "账面数量");
  EXPECT_EQ(fromEnd(*book, 6), "账面件数");
  EXPECT_EQ(fromEnd(*book, 5), "盘点数量");
  EXPECT_EQ(fromEnd(*book, 4), "盘点件数");

  // A batch or free item narrows the rows; a quote in a value stays inside its literal.
  line.batch = rs->value("批号").toString();
  EXPECT_EQ(run(queries.currentStockSql(line, false))->recordCount(), 1);
  line.free[0] = "x' or '1'='1";
  EXPECT_EQ(run(queries.currentStockSql(line, false))->recordCount(), 0);
}

TEST(StockQueries, ReceiptLineLayouts) {
  suite::StockQueriesObject queries;
  const StockLine line{"01", "0101002", {}, ""};
  auto rs = run(queries.receiptLineSql(line, false));
  ASSERT_GT(rs->recordCount(), 0);
  EXPECT_EQ(fromEnd(*rs, 19), "结存数量");
  EXPECT_EQ(fromEnd(*rs, 18), "结存件数");
  EXPECT_EQ(fromEnd(*rs, 13), "出库数量");
  EXPECT_EQ(fromEnd(*rs, 12), "出库件数");
  for (const char* name : {"批号", "失效日期", "入库日期", "入库系统编号"})
    EXPECT_NO_THROW(rs->field(Variant(name)));
  // What is left of a line is what it received less what tracked issues took.
  const double left = rs->value("结存数量").toDouble();
  const double in = rs->value("入库数量").toDouble();
  EXPECT_LE(left, in);

  auto book = run(queries.receiptLineSql(line, true));
  EXPECT_EQ(fromEnd(*book, 15), "账面数量");
  EXPECT_EQ(fromEnd(*book, 13), "盘点数量");
  EXPECT_EQ(fromEnd(*book, 12), "盘点件数");

  auto back = run(queries.returnSql(line));
  EXPECT_EQ(fromEnd(*back, 17), "结存数量");
  EXPECT_EQ(fromEnd(*back, 16), "结存件数");
  EXPECT_EQ(fromEnd(*back, 15), "退回数量");
  EXPECT_EQ(fromEnd(*back, 14), "退回件数");
}

TEST(StockQueries, WorkTableRewritesStillRun) {
  suite::StockQueriesObject queries;
  const StockLine line{"01", "0101002", {}, ""};
  auto connection = test_support::connect(testing::demoCopy("stock_queries_rewrite"));
  connection->execute(
      "create table W_CurrentS (AutoID int, fSumOutQ decimal(20,6), fSumOutN decimal(20,6))\n"
      "insert into W_CurrentS select AutoID, 1, 0 from CurrentStock\n"
      "create table W_TmpRdRecords (AutoID int, fSumOutQ decimal(20,6), fSumOutN "
      "decimal(20,6))\ninsert into W_TmpRdRecords select AutoID, 2, 0 from rdrecords");

  const std::string stock = queries.currentStockSql(line, false);
  std::string net = replaceAll(
      stock, "Where", "  left join  W_CurrentS  on  W_CurrentS.autoid=currentstock.autoid where");
  net = replaceAll(net, "iQuantity", "(iQuantity - IsNull(fSumOutQ, 0))");
  net = replaceAll(net, "iNum", "(iNum-IsNull(fSumOutN,0))");
  auto plain = connection->execute(stock);
  auto netted = connection->execute(net);
  ASSERT_EQ(plain->recordCount(), netted->recordCount());
  EXPECT_DOUBLE_EQ(netted->value("结存数量").toDouble(), plain->value("结存数量").toDouble() - 1);

  const std::string receipts = queries.receiptLineSql(line, false);
  std::string netR =
      replaceAll(receipts, "Where",
                 "  left join   W_TmpRdRecords  on W_TmpRdRecords.autoid=mainbatch.rdid where");
  netR = replaceAll(netR, "abs(RdRecords.iQuantity)",
                    "abs(RdRecords.iQuantity) - IsNull(fSumOutQ, 0)");
  netR = replaceAll(netR, " abs(RdRecords.inum)", " abs(RdRecords.inum)-IsNull(fSumOutN,0)");
  auto plainR = connection->execute(receipts);
  auto nettedR = connection->execute(netR);
  ASSERT_EQ(plainR->recordCount(), nettedR->recordCount());
  EXPECT_DOUBLE_EQ(nettedR->value("结存数量").toDouble(), plainR->value("结存数量").toDouble() - 2);
}

TEST(StockQueries, LateBoundWithFreeItems) {
  auto& registry = automation::classRegistry();
  registerStockQueries(registry);
  auto object = registry.create("Quillon.Suite.StockQueries");
  auto free = std::make_shared<automation::Collection>();
  free->add(Variant("红色"));
  std::vector<Variant> args = {Variant("01"), Variant("0104001"),
                               Variant(automation::ObjectPtr(free))};
  const std::string sql =
      object->invoke("CurrentStockSql", automation::InvokeKind::Method, args).toString();
  EXPECT_NE(sql.find("currentstock.cFree1 = N'红色'"), std::string::npos);
  std::vector<Variant> book = {Variant("01"), Variant("0104001"), Variant::missing(),
                               Variant::missing(), Variant("18")};
  EXPECT_NE(object->invoke("ReceiptLineSql", automation::InvokeKind::Method, book)
                .toString()
                .find("账面数量"),
            std::string::npos);
}

}  // namespace
}  // namespace quillon::components
