#include <gtest/gtest.h>

#include <string>

#include "ado/recordset.h"
#include "components/suite/outsourcing/outsourced_order_object.h"
#include "demo_sessions.h"
#include "support/recordset_checks.h"

namespace quillon::components {
namespace {

using automation::Variant;
using Conn = std::shared_ptr<ado::Connection>;

using test_support::connect;

using test_support::scalar;

// Every counter the service may write, as one text: equal texts mean nothing was written.
std::string counters(const Conn& conn) {
  std::string out;
  for (const char* sql :
       {"SELECT MainID, fInQuantity, fInNum, cClose FROM OM_POMain ORDER BY MainID",
        "SELECT SubID, fOutQuantity, fOutNum FROM OM_PODetails ORDER BY SubID",
        "SELECT AutoID, fHGInQuantity, fHGInNum FROM qm_ncheckvouchers ORDER BY AutoID",
        "SELECT ID, fYBJSInQuantity, fYBJSInNum FROM qm_ncvreject ORDER BY ID"}) {
    auto rs = conn->execute(sql);
    for (; !rs->eof(); rs->moveNext()) {
      for (std::size_t i = 0; i < 4 && i < static_cast<std::size_t>(rs->fields()->count()); ++i) {
        const Variant v = rs->value(i);
        out += (v.isNull() ? std::string("NULL") : v.toString()) + "|";
      }
      out += "\n";
    }
  }
  return out;
}

class OutsourcedWrites : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::demoCopy(::testing::UnitTest::GetInstance()->current_test_info()->name());
    conn_ = connect(path_);
  }

  std::string issue(int subId, double quantity, const std::string& item = "") {
    std::string err = "stale";
    service_.writeIssue(subId, item, quantity, conn_, err, "", Variant());
    return err;
  }
  std::string receive(int mainId, double quantity, double concession = 0,
                      const std::string& item = "") {
    took_ = -1;
    invalid_ = concession;
    std::string err = "stale";
    service_.writeReceipt(mainId, item, quantity, took_, invalid_, conn_, err, "", Variant());
    return err;
  }
  double value(const std::string& sql) { return scalar(conn_, sql); }

  std::string path_;
  Conn conn_;
  suite::OutsourcedOrderServiceObject service_;
  double took_ = 0;
  double invalid_ = 0;
};

TEST_F(OutsourcedWrites, IssueMovesQuantityAndPiecesByTheUnitRule) {
  // Material 1: 1100 kg of round steel in bars (floating rate), 440 kg / 5.87 bars issued. Pieces
  // follow the open rate: 660 kg are 8.8 bars.
  EXPECT_EQ(issue(1, 66, "0101002"), "");
  EXPECT_NEAR(value("SELECT fOutQuantity FROM OM_PODetails WHERE SubID = 1"), 506, 1e-9);
  EXPECT_NEAR(value("SELECT fOutNum FROM OM_PODetails WHERE SubID = 1"), 5.87 + 0.88, 1e-9);
  // Taking back follows what was issued.
  EXPECT_EQ(issue(1, -66), "");
  EXPECT_NEAR(value("SELECT fOutQuantity FROM OM_PODetails WHERE SubID = 1"), 440, 1e-9);
  EXPECT_NEAR(value("SELECT fOutNum FROM OM_PODetails WHERE SubID = 1"), 5.87, 1e-3);
  // Fixed rate: cable in rolls of 100 m. Single unit: no pieces at all.
  EXPECT_EQ(issue(25, 5), "");
  EXPECT_NEAR(value("SELECT fOutNum FROM OM_PODetails WHERE SubID = 25"), 0.2, 1e-9);
  // Floating rate with every piece out: the quantity still moves, the pieces stay.
  EXPECT_EQ(issue(23, 7), "");
  EXPECT_NEAR(value("SELECT fOutQuantity FROM OM_PODetails WHERE SubID = 23"), 17.5, 1e-9);
  EXPECT_NEAR(value("SELECT fOutNum FROM OM_PODetails WHERE SubID = 23"), 0.48, 1e-9);

  // Over-issue within the item's excess share only when the account allows it.
  conn_->execute("UPDATE Inventory SET fOutExcess = 0.1 WHERE cInvCode = '0101002'");
  EXPECT_EQ(issue(1, 661), "委外订单材料行[1]的累计出库数量[1101]不能超过应出库数量[1100]");
  conn_->execute("UPDATE accinformation SET cValue = 'true' WHERE cName = 'OverDispOut'");
  EXPECT_EQ(issue(1, 771), "委外订单材料行[1]的累计出库数量[1211]不能超过出库上限[1210]");
  EXPECT_EQ(issue(1, 770), "");
  EXPECT_NEAR(value("SELECT fOutNum FROM OM_PODetails WHERE SubID = 1"), 14.67, 1e-9);
}

TEST_F(OutsourcedWrites, RefusedWritesLeaveTheAccountAsItWas) {
  const std::string before = counters(conn_);
  EXPECT_EQ(issue(999, 1), "委外订单材料行[999]不存在");
  EXPECT_EQ(issue(1, 661), "委外订单材料行[1]的累计出库数量[1101]不能超过应出库数量[1100]");
  EXPECT_EQ(issue(1, -441), "委外订单材料行[1]的累计出库数量不能小于零");
  EXPECT_EQ(issue(1, 1, "0101001"), "存货[0101001]不是委外订单材料行[1]的存货[0101002]");
  EXPECT_EQ(issue(16, 1), "委外订单行[7]已被限额领料单领用");
  EXPECT_EQ(issue(20, 1), "委外订单行[8]已关闭");
  EXPECT_EQ(issue(15, -1), "委外订单[WW26110004]已关闭");
  EXPECT_EQ(issue(38, 1), "委外订单[WW26120008]未审核");

  EXPECT_EQ(receive(0, 1), "委外订单行[0]不存在");
  EXPECT_EQ(receive(1, 121), "委外订单行[1]的累计入库数量[201]不能超过入库上限[200]");
  EXPECT_EQ(receive(1, -81), "委外订单行[1]的累计入库数量不能小于零");
  EXPECT_EQ(receive(1, 1, 0, "0201002"), "存货[0201002]不是委外订单行[1]的存货[0201001]");
  EXPECT_EQ(receive(1, 2, 1), "委外订单行[1]未检验，没有让步接收的数量");
  EXPECT_EQ(receive(2, 2, 3), "让步接收数量[3]不能超过本次入库数量[2]");
  EXPECT_EQ(receive(2, 2, -1), "让步接收数量[-1]不能超过本次入库数量[2]");
  EXPECT_EQ(receive(8, 1), "委外订单行[8]已关闭");
  EXPECT_EQ(receive(6, 1), "委外订单[WW26110004]已关闭");
  // An inspection that was not verified released nothing.
  EXPECT_EQ(receive(3, 1), "委外订单行[3]的合格待入库数量[0]不足本次入库数量[1]");
  // The qualified part fits, the concession part does not: neither is written.
  EXPECT_EQ(receive(2, 14, 4), "委外订单行[2]的让步接收待入库数量[3]不足本次入库数量[4]");
  EXPECT_DOUBLE_EQ(took_, -1);  // a refusal leaves the host's variables alone
  EXPECT_DOUBLE_EQ(invalid_, 4);

  std::string err;
  service_.writeClosed(8, true, conn_, err, "", Variant());
  EXPECT_EQ(err, "委外订单行[8]已关闭");
  service_.writeClosed(1, false, conn_, err, "", Variant());
  EXPECT_EQ(err, "委外订单行[1]未关闭");
  service_.writeClosed(6, true, conn_, err, "", Variant());
  EXPECT_EQ(err, "委外订单[WW26110004]已关闭");
  service_.writeClosed(14, true, conn_, err, "", Variant());
  EXPECT_EQ(err, "委外订单[WW26120008]未审核");
  service_.writeClosed(77, true, conn_, err, "", Variant());
  EXPECT_EQ(err, "委外订单行[77]不存在");
  EXPECT_EQ(counters(conn_), before);

  // Without a connection nothing can be written, and the caller hears why.
  Conn none;
  service_.writeIssue(1, "", 1, none, err, "", Variant());
  EXPECT_EQ(err, "数据库连接未打开");
}

TEST_F(OutsourcedWrites, ReceiptBooksQualifiedAndConcessionGoodsOnTheInspection) {
  // Uninspected: everything is taken as received goods.
  EXPECT_EQ(receive(1, 20, 0, "0201001"), "");
  EXPECT_DOUBLE_EQ(took_, 20);
  EXPECT_DOUBLE_EQ(invalid_, 0);
  EXPECT_NEAR(value("SELECT fInQuantity FROM OM_POMain WHERE MainID = 1"), 100, 1e-9);

  // Inspected line 2: 55 good of which 20 received, 3 accepted by concession, none received.
  EXPECT_EQ(receive(2, 13, 3), "");
  EXPECT_DOUBLE_EQ(took_, 10);
  EXPECT_DOUBLE_EQ(invalid_, 3);
  EXPECT_NEAR(value("SELECT fInQuantity FROM OM_POMain WHERE MainID = 2"), 33, 1e-9);
  EXPECT_NEAR(value("SELECT fHGInQuantity FROM qm_ncheckvouchers WHERE AutoID = 1"), 30, 1e-9);
  EXPECT_NEAR(value("SELECT fYBJSInQuantity FROM qm_ncvreject WHERE ID = 1"), 3, 1e-9);
  EXPECT_EQ(receive(2, 26), "委外订单行[2]的合格待入库数量[25]不足本次入库数量[26]");
  // Taking a concession receipt back.
  EXPECT_EQ(receive(2, -2, -2), "");
  EXPECT_NEAR(value("SELECT fYBJSInQuantity FROM qm_ncvreject WHERE ID = 1"), 1, 1e-9);
  EXPECT_EQ(receive(2, -31), "委外订单行[2]的合格已入库数量[30]不足冲回数量[31]");

  // A second unit: 100 cartons are one box.
  EXPECT_EQ(receive(15, 100), "");
  EXPECT_NEAR(value("SELECT fInNum FROM OM_POMain WHERE MainID = 15"), 6, 1e-9);

  // Over-receipt within the item's excess share when "OverOrder" allows it (the demo account
  // does).
  conn_->execute("UPDATE Inventory SET fInExcess = 0.05 WHERE cInvCode = '0201001'");
  EXPECT_EQ(receive(1, 111), "委外订单行[1]的累计入库数量[211]不能超过入库上限[210]");
  EXPECT_EQ(receive(1, 110), "");
  conn_->execute("UPDATE accinformation SET cValue = 'false' WHERE cName = 'OverOrder'");
  EXPECT_EQ(receive(1, 0.5), "委外订单行[1]的累计入库数量[210.5]不能超过订单数量[200]");
}

TEST_F(OutsourcedWrites, ClosingAndLateBoundCalls) {
  service_.setContext(testing::sessionFor("demo", path_));
  std::string err;
  service_.writeClosed(1, true, conn_, err, "", Variant());
  EXPECT_EQ(err, "");
  auto closer = conn_->execute("SELECT cClose FROM OM_POMain WHERE MainID = 1");
  EXPECT_EQ(closer->value(std::size_t{0}).toString(), "演示用户");
  EXPECT_EQ(issue(1, 1), "委外订单行[1]已关闭");
  service_.writeClosed(1, false, conn_, err, "", Variant());
  EXPECT_EQ(err, "");
  EXPECT_TRUE(conn_->execute("SELECT cClose FROM OM_POMain WHERE MainID = 1")
                  ->value(std::size_t{0})
                  .isNull());

  // Inside the caller's transaction the caller decides.
  conn_->beginTrans();
  EXPECT_EQ(issue(1, 10), "");
  conn_->rollbackTrans();
  EXPECT_NEAR(value("SELECT fOutQuantity FROM OM_PODetails WHERE SubID = 1"), 440, 1e-9);

  // Late-bound: quantities taken and invalid, connection and text by reference.
  const Variant connection(std::static_pointer_cast<automation::Object>(conn_));
  std::vector<Variant> in{Variant(2),   Variant("0201002"), Variant(5.0), Variant(),
                          Variant(2.0), connection,         Variant("")};
  service_.invoke("WriteInQuantity", automation::InvokeKind::Method, in);
  EXPECT_EQ(in[6], Variant(""));
  EXPECT_EQ(in[3], Variant(3.0));
  EXPECT_EQ(in[4], Variant(2.0));
  std::vector<Variant> out{Variant(1), Variant(""), Variant(10000.0), connection, Variant("")};
  service_.invoke("WriteOutQuantity", automation::InvokeKind::Method, out);
  EXPECT_EQ(out[4], Variant("委外订单材料行[1]的累计出库数量[10440]不能超过应出库数量[1100]"));
  std::vector<Variant> close{Variant(5), Variant(true), connection, Variant("")};
  service_.invoke("WriteClosed", automation::InvokeKind::Method, close);
  EXPECT_EQ(close[3], Variant(""));
  service_.invoke("WriteClosed", automation::InvokeKind::Method, close);
  EXPECT_EQ(close[3], Variant("委外订单行[5]已关闭"));
}

}  // namespace
}  // namespace quillon::components
