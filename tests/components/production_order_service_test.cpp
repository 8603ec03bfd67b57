#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ado/recordset.h"
#include "components/suite/dispatch_quantity_object.h"
#include "components/suite/production_order_object.h"
#include "demo_sessions.h"
#include "support/recordset_checks.h"

namespace quillon::components {
namespace {

using automation::Variant;
using Conn = std::shared_ptr<ado::Connection>;
using Rs = std::shared_ptr<ado::Recordset>;

using test_support::connect;

using test_support::keys;

using test_support::scalar;

bool isNull(const Conn& conn, const std::string& sql) {
  auto rs = conn->execute(sql);
  return rs->value(std::size_t{0}).isNull();
}

TEST(ProductionOrderService, HeadVariantsListOrdersWithLinesLeftToTake) {
  auto conn = connect(testing::demoPath());
  suite::ProductionOrderServiceObject service;
  Rs rs;
  std::string err;
  bool ok = false;

  // Material issue: verified orders with materials left to issue. Order 6's only unclosed line
  // has its materials taken by a limit requisition and order 7's line has no materials, so they
  // show only when executed lines count too.
  service.listHeads("", rs, conn, err, kVerifiedOrderState, true, ok);
  ASSERT_TRUE(ok) << err;
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{1, 2, 3, 5}));
  EXPECT_EQ(rs->fields()->item(0)->name(), "id");
  service.listHeads("", rs, conn, err, kVerifiedOrderState, false, ok);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{1, 2, 3, 5, 6, 7}));

  service.listHeadsOI("", rs, conn, err, kVerifiedOrderState, true, ok);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{3}));
  service.listHeadsOI("", rs, conn, err, kVerifiedOrderState, false, ok);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{3, 7}));
  service.listHeads39("", rs, conn, err, kVerifiedOrderState, true, ok);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{1, 2, 3, 5, 6, 7}));

  // The caller's condition narrows; the state picks entered orders instead.
  service.listHeads("cDepCode = '0201' and iProperty =2 ", rs, conn, err, 2, false, ok);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{7}));
  service.listHeads("", rs, conn, err, 1, true, ok);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{8}));

  // The source ends in its WHERE clause and an ORDER BY a re-read can insert before.
  const std::string source = rs->source();
  EXPECT_NE(source.find(" WHERE "), std::string::npos);
  EXPECT_EQ(source.substr(source.size() - 15), " ORDER BY ccode");

  // A broken condition is the database's error text, and the recordset stays as it was.
  Rs before = rs;
  service.listHeads("no_such_column = 1", rs, conn, err, 2, true, ok);
  EXPECT_FALSE(ok);
  EXPECT_NE(err.find("no_such_column"), std::string::npos);
  EXPECT_EQ(rs, before);

  Conn closed = std::make_shared<ado::Connection>();
  service.listHeads("", rs, closed, err, 2, true, ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(err, "数据库连接未打开");
}

TEST(ProductionOrderService, LinesAndMaterialsFollowTheVariantAndThePermissions) {
  auto conn = connect(testing::demoPath());
  suite::ProductionOrderServiceObject service;
  Rs rs;
  std::string err;
  bool ok = false;

  // Order 2: line 3 fully received and issued, line 4 (50, 40 % received, 60 % issued) open.
  service.listLines("2", rs, conn, err, 2, true, "", ok);
  ASSERT_TRUE(ok) << err;
  EXPECT_EQ(keys(*rs, "mainid"), (std::set<int>{4}));
  EXPECT_EQ(rs->fields()->item(0)->name(), "mainid");
  rs->moveFirst();
  EXPECT_DOUBLE_EQ(rs->value("icurquantity").toDouble(), 20.0);  // kits left to issue
  service.listLines("2", rs, conn, err, 2, false, "", ok);
  EXPECT_EQ(keys(*rs, "mainid"), (std::set<int>{3, 4}));
  service.listLines39(" 2 ", rs, conn, err, 2, true, "", ok);
  EXPECT_EQ(keys(*rs, "mainid"), (std::set<int>{4}));
  rs->moveFirst();
  EXPECT_DOUBLE_EQ(rs->value("icurquantity").toDouble(), 30.0);  // still to receive
  const std::string source = rs->source();
  EXPECT_EQ(source.substr(source.size() - 16), " ORDER BY mainid");
  EXPECT_NE(source.find("pp_pomain.id = 2"), std::string::npos);

  // Closed lines never show; the project columns read "" rather than NULL.
  service.listLines("6", rs, conn, err, 2, false, "", ok);
  EXPECT_EQ(keys(*rs, "mainid"), (std::set<int>{9}));
  rs->moveFirst();
  EXPECT_EQ(rs->value("citem_class"), Variant(""));
  service.listLines("5", rs, conn, err, 2, true, "", ok);
  rs->moveFirst();
  EXPECT_EQ(rs->value("citemcode"), Variant("XM002"));
  EXPECT_EQ(rs->value("citem_class"), Variant("01"));

  // OI lines only of outsourced orders.
  service.listLinesOI("2", rs, conn, err, 2, true, "", ok);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(rs->bof() && rs->eof());
  service.listLinesOI("3", rs, conn, err, 2, true, "", ok);
  EXPECT_EQ(keys(*rs, "mainid"), (std::set<int>{5}));

  // The inventory condition as the dialog builds it.
  const std::string none =
      "cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = cInvCode and "
      "II.iid IN(-1))";
  service.listLines("2", rs, conn, err, 2, false, none, ok);
  EXPECT_TRUE(ok) << err;
  EXPECT_TRUE(rs->bof() && rs->eof());

  Rs kept = rs;
  service.listLines("2 or 1=1", rs, conn, err, 2, true, "", ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(err, "生产订单[2 or 1=1]不存在");
  EXPECT_EQ(rs, kept);

  // Materials: what the given number of products needs, less what was issued.
  service.listMaterials(4, 50, rs, conn, err, "", ok);
  ASSERT_TRUE(ok) << err;
  ASSERT_FALSE(rs->bof() && rs->eof());
  EXPECT_EQ(rs->fields()->item(0)->name(), "subid");
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
    const double q = rs->value("fquantity").toDouble();
    EXPECT_NEAR(rs->value("iCurOutQuantity").toDouble(), q - rs->value("foutquantity").toDouble(),
                1e-6);
  }
  service.listMaterials(4, 10, rs, conn, err, "", ok);  // 20 % of the line, 60 % issued
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
    EXPECT_EQ(rs->value("iCurOutQuantity").toDouble(), 0.0);
  }
  service.listMaterials(9, 20, rs, conn, err, "", ok);  // taken by a limit requisition
  EXPECT_TRUE(ok);
  EXPECT_TRUE(rs->bof() && rs->eof());
  service.listMaterials(4, 50, rs, conn, err, none, ok);
  EXPECT_TRUE(rs->bof() && rs->eof());
}

TEST(ProductionOrderService, IssuedQuantityWritesAreCheckedAndAllOrNothing) {
  auto conn = connect(testing::demoCopy("po-writes"));
  suite::ProductionOrderServiceObject service;
  std::string err;
  auto out = [&](int subId) {
    return scalar(conn, "SELECT isnull(fOutQuantity, 0) FROM pp_POMaterial WHERE SubID = " +
                            std::to_string(subId));
  };
  auto planned = [&](int subId) {
    return scalar(conn,
                  "SELECT fQuantity FROM pp_POMaterial WHERE SubID = " + std::to_string(subId));
  };
  const int sub =
      static_cast<int>(scalar(conn, "SELECT min(SubID) FROM pp_POMaterial WHERE MainID = 4"));
  const std::string item = [&] {
    auto rs =
        conn->execute("SELECT cInvCode FROM pp_POMaterial WHERE SubID = " + std::to_string(sub));
    return rs->value(std::size_t{0}).toString();
  }();
  const double start = out(sub);
  const double open = planned(sub) - start;

  service.writeOutQuantity(sub, item, 1, conn, err, "");
  EXPECT_EQ(err, "");
  EXPECT_NEAR(out(sub), start + 1, 1e-9);
  service.writeOutQuantity(sub, "", -1, conn, err, "");
  EXPECT_EQ(err, "");
  EXPECT_NEAR(out(sub), start, 1e-9);

  // Beyond the planned quantity, below zero, another item, unknown and closed lines: refused,
  // nothing written.
  service.writeOutQuantity(sub, item, open + 1, conn, err, "");
  EXPECT_NE(err.find("不能超过应出库数量"), std::string::npos) << err;
  service.writeOutQuantity(sub, item, -(start + 1), conn, err, "");
  EXPECT_EQ(err, "生产订单材料行[" + std::to_string(sub) + "]的累计出库数量不能小于零");
  service.writeOutQuantity(sub, "NOPE", 1, conn, err, "");
  EXPECT_EQ(err, "存货[NOPE]不是生产订单材料行[" + std::to_string(sub) + "]的材料[" + item + "]");
  EXPECT_NEAR(out(sub), start, 1e-9);
  service.writeOutQuantity(999999, "", 1, conn, err, "");
  EXPECT_EQ(err, "生产订单材料行[999999]不存在");
  const int closedSub =
      static_cast<int>(scalar(conn, "SELECT min(SubID) FROM pp_POMaterial WHERE MainID = 8"));
  service.writeOutQuantity(closedSub, "", 1, conn, err, "");
  EXPECT_EQ(err, "生产订单行[8]已关闭");
  const int usedSub =
      static_cast<int>(scalar(conn, "SELECT min(SubID) FROM pp_POMaterial WHERE MainID = 9"));
  service.writeOutQuantity(usedSub, "", 1, conn, err, "");
  EXPECT_EQ(err, "生产订单材料行[" + std::to_string(usedSub) + "]已被限额领料单领用");
  const int closedOrderSub =
      static_cast<int>(scalar(conn, "SELECT min(SubID) FROM pp_POMaterial WHERE MainID = 6"));
  service.writeOutQuantity(closedOrderSub, "", 1, conn, err, "");
  EXPECT_EQ(err, "生产订单[MO26110004]已关闭");
  const int enteredSub =
      static_cast<int>(scalar(conn, "SELECT min(SubID) FROM pp_POMaterial WHERE MainID = 11"));
  service.writeOutQuantity(enteredSub, "", 1, conn, err, "");
  EXPECT_NE(err.find("未审核"), std::string::npos) << err;

  // With over-issue allowed the item's excess share widens the limit.
  conn->execute("UPDATE accinformation SET cValue = 'true' WHERE cName = 'OverDispOut'");
  conn->execute("UPDATE Inventory SET fOutExcess = 0.1 WHERE cInvCode = '" + item + "'");
  const double limit = planned(sub) * 1.1;
  service.writeOutQuantity(sub, item, limit - start + 0.5, conn, err, "");
  EXPECT_NE(err.find("不能超过出库上限"), std::string::npos) << err;
  service.writeOutQuantity(sub, item, limit - start, conn, err, "");
  EXPECT_EQ(err, "");
  EXPECT_NEAR(out(sub), limit, 1e-6);
  conn->execute("UPDATE accinformation SET cValue = 'false' WHERE cName = 'OverDispOut'");

  // Kits: every material of product line 5 (30 products, nothing issued) by its share; a kit
  // count that one material cannot take writes none of them.
  auto materials =
      conn->execute("SELECT SubID, fQuantity FROM pp_POMaterial WHERE MainID = 5 ORDER BY SubID");
  std::vector<std::pair<int, double>> kit;
  for (; !materials->eof(); materials->moveNext()) {
    kit.emplace_back(materials->value("SubID").toLong(), materials->value("fQuantity").toDouble());
  }
  ASSERT_GE(kit.size(), 2u);
  service.writeOutQuantityOI(5, "", 10, conn, err, "");
  EXPECT_EQ(err, "");
  for (auto [id, q] : kit) EXPECT_NEAR(out(id), q * 10 / 30, 1e-6);
  service.writeOutQuantityOI(5, "", 25, conn, err, "");
  EXPECT_NE(err.find("不能超过应出库数量"), std::string::npos) << err;
  for (auto [id, q] : kit) EXPECT_NEAR(out(id), q * 10 / 30, 1e-6);
  service.writeOutQuantityOI(5, "NOPE", 1, conn, err, "");
  EXPECT_EQ(err, "生产订单行[5]没有材料[NOPE]");
  service.writeOutQuantityOI(8, "", 1, conn, err, "");
  EXPECT_EQ(err, "生产订单行[8]已关闭");
}

TEST(ProductionOrderService, ClosedFlagAndLateBoundCalls) {
  auto path = testing::demoCopy("po-close");
  auto conn = connect(path);
  suite::ProductionOrderServiceObject service;
  service.setContext(testing::sessionFor("demo", path));
  std::string err;

  service.writeClosed(4, true, conn, err, "");
  EXPECT_EQ(err, "");
  EXPECT_FALSE(isNull(conn, "SELECT cClose FROM pp_POLine WHERE MainID = 4"));
  service.writeClosed(4, true, conn, err, "");
  EXPECT_EQ(err, "生产订单行[4]已关闭");
  service.writeClosed(4, false, conn, err, "");
  EXPECT_EQ(err, "");
  EXPECT_TRUE(isNull(conn, "SELECT cClose FROM pp_POLine WHERE MainID = 4"));
  service.writeClosed(4, false, conn, err, "");
  EXPECT_EQ(err, "生产订单行[4]未关闭");
  service.writeClosed(6, false, conn, err, "");
  EXPECT_EQ(err, "生产订单[MO26110004]已关闭");
  service.writeClosed(0, true, conn, err, "");
  EXPECT_EQ(err, "生产订单行[0]不存在");

  // Inside the caller's transaction the caller decides.
  conn->beginTrans();
  service.writeClosed(4, true, conn, err, "");
  EXPECT_EQ(err, "");
  conn->rollbackTrans();
  EXPECT_TRUE(isNull(conn, "SELECT cClose FROM pp_POLine WHERE MainID = 4"));

  // Late-bound, with the recordset, connection, text and result by reference.
  std::vector<Variant> args{Variant(""),
                            Variant::nothing(),
                            Variant(std::static_pointer_cast<automation::Object>(conn)),
                            Variant(""),
                            Variant(2),
                            Variant(false),
                            Variant(false)};
  service.invoke("GetHeadsOI", automation::InvokeKind::Method, args);
  EXPECT_EQ(args[6], Variant(true));
  auto rs = automation::toObjectAs<ado::Recordset>(args[1]);
  ASSERT_TRUE(rs);
  EXPECT_EQ(keys(*rs, "id"), (std::set<int>{3, 7}));
  std::vector<Variant> write{Variant(4), Variant(true),
                             Variant(std::static_pointer_cast<automation::Object>(conn)),
                             Variant("")};
  service.invoke("WriteClosed", automation::InvokeKind::Method, write);
  EXPECT_EQ(write[3], Variant(""));
  service.invoke("WriteClosed", automation::InvokeKind::Method, write);
  EXPECT_EQ(write[3], Variant("生产订单行[4]已关闭"));
}

TEST(DispatchQuantityService, IssuedQuantityStaysWithinTheLineInItsDirection) {
  auto conn = connect(testing::demoCopy("dispatch-writes"));
  suite::DispatchQuantityServiceObject service;
  std::string err;
  auto rs = conn->execute(
      "SELECT l.AutoID, l.cInvCode, l.iQuantity, isnull(l.fOutQuantity, 0) AS fOut FROM "
      "DispatchLists l INNER JOIN DispatchList h ON h.DLID = l.DLID WHERE h.iState = 2 AND "
      "h.cCloser IS NULL AND l.cCloser IS NULL AND h.bReturnFlag = 0 AND l.iQuantity > "
      "isnull(l.fOutQuantity, 0) + 1 ORDER BY l.AutoID");
  ASSERT_FALSE(rs->eof());
  const int id = rs->value("AutoID").toLong();
  const std::string item = rs->value("cInvCode").toString();
  const double q = rs->value("iQuantity").toDouble();
  const double start = rs->value("fOut").toDouble();
  auto outOf = [&](int line) {
    return scalar(conn, "SELECT isnull(fOutQuantity, 0) FROM DispatchLists WHERE AutoID = " +
                            std::to_string(line));
  };

  service.write(conn, id, item, 1, 0, err);
  EXPECT_EQ(err, "");
  EXPECT_NEAR(outOf(id), start + 1, 1e-9);
  service.write(conn, id, "", q, 0, err);
  EXPECT_NE(err.find("不能超过应出库数量"), std::string::npos) << err;
  service.write(conn, id, "", -(start + 2), 0, err);
  EXPECT_EQ(err, "发货单行[" + std::to_string(id) + "]的累计出库数量不能小于零");
  service.write(conn, id, "NOPE", 1, 0, err);
  EXPECT_NE(err.find("存货[NOPE]"), std::string::npos);
  service.write(conn, -5, "", 1, 0, err);
  EXPECT_EQ(err, "发货单行[-5]不存在");
  EXPECT_NEAR(outOf(id), start + 1, 1e-9);

  // A red note: −5 of which −5 issued, so taking back moves toward zero and more is refused.
  auto red = conn->execute(
      "SELECT l.AutoID, l.iQuantity, isnull(l.fOutQuantity, 0) AS fOut FROM DispatchLists l "
      "INNER JOIN DispatchList h ON h.DLID = l.DLID WHERE h.bReturnFlag = 1 AND "
      "l.cCloser IS NULL ORDER BY l.AutoID");
  ASSERT_FALSE(red->eof());
  const int redId = red->value("AutoID").toLong();
  const double redQ = red->value("iQuantity").toDouble();
  const double redOut = red->value("fOut").toDouble();
  service.write(conn, redId, "", redQ - redOut - 1, 0, err);
  EXPECT_NE(err.find("不能超过"), std::string::npos) << err;
  service.write(conn, redId, "", -redOut + 1, 0, err);
  EXPECT_EQ(err, "发货单行[" + std::to_string(redId) + "]的累计出库数量不能大于零");
  service.write(conn, redId, "", 1, 0, err);
  EXPECT_EQ(err, "");
  EXPECT_NEAR(outOf(redId), redOut + 1, 1e-9);
}

}  // namespace
}  // namespace quillon::components
