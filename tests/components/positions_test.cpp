#include <gtest/gtest.h>

#include "ado/connection.h"
#include "components/suite/inv_positions.h"
#include "demo_sessions.h"

namespace quillon::components {
namespace {

using automation::Variant;

double balance(SessionContext& context, const std::string& pos, const std::string& inv) {
  auto rows = context.connection()->database().query(
      "SELECT isnull(sum(iQuantity), 0) FROM InvPositionSum WHERE cPosCode = '" + pos +
      "' AND cInvCode = '" + inv + "' AND cBatch = ''");
  const auto& v = rows.front().rows[0][0];
  return v.kind == sql::ValueKind::Integer ? static_cast<double>(v.integer) : v.real;
}

TEST(InvPositions, InsertUpdateDeleteKeepTheBalance) {
  auto context = testing::sessionFor("demo", testing::demoCopy("positions"));
  suite::InvPositionServiceObject service;
  auto position = std::make_shared<suite::InvPositionObject>();
  position->setLogin(context);
  auto& d = position->data();
  d.whCode = "04";
  d.posCode = "04A01";
  d.invCode = "0301001";
  d.quantity = 10;
  d.inbound = true;
  d.date = Variant(automation::DateValue{46361.0});  // 2026-12-05, no time of day

  PositionResult r = service.insert(*position, nullptr);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_GT(d.autoId, 0);
  // The date reads back and compares as the account's other dates do.
  const auto dated = context->connection()->database().query(
      "SELECT dDate FROM InvPosition WHERE AutoID = " + std::to_string(d.autoId) +
      " AND dDate = '2026-12-05'");
  ASSERT_EQ(dated.front().rows.size(), 1u);
  EXPECT_EQ(dated.front().rows[0][0].text, "2026-12-05");
  EXPECT_EQ(balance(*context, "04A01", "0301001"), 10.0);

  // Taking out more than is there is refused and changes nothing.
  auto out = std::make_shared<suite::InvPositionObject>();
  out->setLogin(context);
  out->data() = d;
  out->data().autoId = 0;
  out->data().inbound = false;
  out->data().quantity = 11;
  r = service.insert(*out, nullptr);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "货位[04A01]上存货[0301001]的结存不足");
  EXPECT_EQ(balance(*context, "04A01", "0301001"), 10.0);

  // Moving the record to another position moves the balance.
  d.posCode = "04A02";
  d.quantity = 6;
  r = service.update(*position, nullptr);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(balance(*context, "04A01", "0301001"), 0.0);
  EXPECT_EQ(balance(*context, "04A02", "0301001"), 6.0);

  // Late-bound, with the refusal text in the by-reference result.
  std::vector<Variant> args{Variant(automation::ObjectPtr(position)), Variant::missing(),
                            Variant::missing(), Variant::missing(), Variant("x")};
  EXPECT_EQ(service.invoke("Delete", automation::InvokeKind::Method, args), Variant(true));
  EXPECT_EQ(args[4].toString(), "");
  EXPECT_EQ(balance(*context, "04A02", "0301001"), 0.0);
  args[4] = Variant();
  EXPECT_EQ(service.invoke("Delete", automation::InvokeKind::Method, args), Variant(false));
  EXPECT_EQ(args[4].toString(), "货位记录[" + std::to_string(d.autoId) + "]不存在");
}

TEST(InvPositions, RefusesWhatCannotHoldAPosition) {
  auto context = testing::sessionFor("demo", testing::demoCopy("positions-refused"));
  suite::InvPositionServiceObject service;
  suite::InvPositionObject p;
  p.setLogin(context);
  auto attempt = [&](std::string wh, std::string pos, std::string inv, double q) {
    p.data().whCode = std::move(wh);
    p.data().posCode = std::move(pos);
    p.data().invCode = std::move(inv);
    p.data().quantity = q;
    return service.insert(p, context->connection()).error;
  };
  EXPECT_EQ(attempt("04", "04A01", "0301001", 0), "数量不能为零");
  EXPECT_EQ(attempt("99", "04A01", "0301001", 1), "仓库[99]不存在");
  EXPECT_EQ(attempt("02", "04A01", "0301001", 1), "仓库[02]不是货位管理仓库");
  EXPECT_EQ(attempt("04", "ZZ", "0301001", 1), "货位[ZZ]不存在");
  EXPECT_EQ(attempt("04", "01A01", "0301001", 1), "货位[01A01]不属于仓库[04]");
  EXPECT_EQ(attempt("04", "04A", "0301001", 1), "货位[04A]不是末级货位");
  EXPECT_EQ(attempt("04", "04A01", "x' OR '1'='1", 1), "存货[x' OR '1'='1]不存在");
  EXPECT_EQ(balance(*context, "04A01", "0301001"), 0.0);

  // Inside the caller's transaction the caller decides: a rollback undoes the insert.
  auto conn = context->connection();
  conn->beginTrans();
  EXPECT_EQ(attempt("04", "04A01", "0301001", 2), "");
  EXPECT_TRUE(conn->inTransaction());
  conn->rollbackTrans();
  EXPECT_EQ(balance(*context, "04A01", "0301001"), 0.0);
}

}  // namespace
}  // namespace quillon::components
