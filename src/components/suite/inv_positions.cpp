#include "components/suite/inv_positions.h"

#include <cmath>
#include <functional>
#include <map>
#include <tuple>

#include "ado/connection.h"
#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "automation/vb_dates.h"
#include "automation/vb_strings.h"
#include "components/suite/component_errors.h"
#include "components/suite/rows.h"
#include "components/suite/session_objects.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

using automation::Args;
using automation::Variant;

namespace {

constexpr double kTolerance = 1e-9;

struct Refusal {
  std::string text;
};

std::string dateLiteral(const Variant& date) {
  if (date.isNull() || date.isEmpty() || date.isMissing()) return "NULL";
  // A date without a time of day is written as one, so that it reads back and compares with the
  // account's other dates alike on both engines.
  return sql::literal(automation::formatDateAuto(date.toDate()));
}

// The balance a record belongs to: warehouse, position, item, batch and free items.
using BalanceKey = std::vector<std::string>;

BalanceKey balanceKey(const InvPositionData& d) {
  BalanceKey k{d.whCode, d.posCode, d.invCode, d.batch};
  for (const auto& f : d.free) k.push_back(f);
  return k;
}

std::string balanceCondition(const BalanceKey& k) {
  static const char* kColumns[] = {"cWhCode", "cPosCode", "cInvCode", "cBatch", "cFree1",
                                   "cFree2",  "cFree3",   "cFree4",   "cFree5", "cFree6",
                                   "cFree7",  "cFree8",   "cFree9",   "cFree10"};
  std::string where;
  for (std::size_t i = 0; i < k.size(); ++i) {
    where += (i == 0 ? "" : " AND ") + std::string(kColumns[i]) + " = " + sql::literal(k[i]);
  }
  return where;
}

struct Delta {
  double quantity = 0;
  double num = 0;
};

Delta effect(const InvPositionData& d, int sign) {
  const double direction = (d.inbound ? 1.0 : -1.0) * sign;
  return {d.quantity * direction, d.num * direction};
}

void validate(sql::Database& db, const InvPositionData& d) {
  if (std::fabs(d.quantity) < kTolerance) throw Refusal{"数量不能为零"};
  Rows wh = queryRows(db, "SELECT bWhPos FROM Warehouse WHERE cWhCode = " + sql::literal(d.whCode));
  if (wh.empty()) throw Refusal{"仓库[" + d.whCode + "]不存在"};
  if (!wh.at(0, "bWhPos").toBool()) throw Refusal{"仓库[" + d.whCode + "]不是货位管理仓库"};
  Rows pos = queryRows(
      db, "SELECT cWhCode, bPosEnd FROM Position WHERE cPosCode = " + sql::literal(d.posCode));
  if (pos.empty()) throw Refusal{"货位[" + d.posCode + "]不存在"};
  if (!automation::equalsNoCase(pos.text(0, "cWhCode"), d.whCode)) {
    throw Refusal{"货位[" + d.posCode + "]不属于仓库[" + d.whCode + "]"};
  }
  if (!pos.at(0, "bPosEnd").toBool()) throw Refusal{"货位[" + d.posCode + "]不是末级货位"};
  Rows inv =
      queryRows(db, "SELECT cInvCode FROM Inventory WHERE cInvCode = " + sql::literal(d.invCode));
  if (inv.empty()) throw Refusal{"存货[" + d.invCode + "]不存在"};
}

// Applies balance changes, refusing any that would leave a balance below zero.
void applyBalances(sql::Database& db, const std::map<BalanceKey, Delta>& changes) {
  for (const auto& [key, delta] : changes) {
    const std::string where = balanceCondition(key);
    Rows sum = queryRows(db, "SELECT iQuantity, iNum FROM InvPositionSum WHERE " + where);
    const double current = sum.empty() ? 0.0 : sum.at(0, "iQuantity").toDouble();
    if (delta.quantity < 0 && current + delta.quantity < -kTolerance) {
      throw Refusal{"货位[" + key[1] + "]上存货[" + key[2] + "]的结存不足"};
    }
  }
  for (const auto& [key, delta] : changes) {
    const std::string where = balanceCondition(key);
    Rows sum = queryRows(db, "SELECT AutoID FROM InvPositionSum WHERE " + where);
    if (sum.empty()) {
      std::string cols = "cWhCode, cPosCode, cInvCode, cBatch";
      std::string values;
      for (std::size_t i = 0; i < key.size(); ++i) values += (i ? ", " : "") + sql::literal(key[i]);
      for (int i = 1; i <= 10; ++i) cols += ", cFree" + std::to_string(i);
      db.execute("INSERT INTO InvPositionSum (" + cols + ", iQuantity, iNum) VALUES (" + values +
                 ", " + sql::literal(delta.quantity) + ", " + sql::literal(delta.num) + ")");
    } else {
      db.execute("UPDATE InvPositionSum SET iQuantity = iQuantity + " +
                 sql::literal(delta.quantity) + ", iNum = iNum + " + sql::literal(delta.num) +
                 " WHERE " + where);
    }
  }
}

InvPositionData loadRecord(sql::Database& db, std::int32_t autoId) {
  Rows r = queryRows(db, "SELECT * FROM InvPosition WHERE AutoID = " + std::to_string(autoId));
  if (r.empty()) throw Refusal{"货位记录[" + std::to_string(autoId) + "]不存在"};
  InvPositionData d;
  d.autoId = autoId;
  d.rdsId = r.at(0, "RdsID").isNull() ? 0 : r.at(0, "RdsID").toLong();
  d.rdId = r.at(0, "RdID").isNull() ? 0 : r.at(0, "RdID").toLong();
  d.inbound = r.at(0, "bRdFlag").toLong() != 0;
  d.whCode = r.text(0, "cWhCode");
  d.posCode = r.text(0, "cPosCode");
  d.invCode = r.text(0, "cInvCode");
  d.batch = r.text(0, "cBatch");
  for (int i = 0; i < 10; ++i) d.free[i] = r.text(0, "cFree" + std::to_string(i + 1));
  d.quantity = r.at(0, "iQuantity").toDouble();
  d.num = r.at(0, "iNum").isNull() ? 0.0 : r.at(0, "iNum").toDouble();
  d.date = r.at(0, "dDate");
  d.handler = r.text(0, "cHandler");
  d.memo = r.text(0, "cMemo");
  return d;
}

// The record's columns and their SQL values, in one order for INSERT and UPDATE.
std::vector<std::pair<std::string, std::string>> recordColumns(const InvPositionData& d) {
  std::vector<std::pair<std::string, std::string>> c = {
      {"RdsID", std::to_string(d.rdsId)},    {"RdID", std::to_string(d.rdId)},
      {"bRdFlag", d.inbound ? "1" : "0"},    {"cWhCode", sql::literal(d.whCode)},
      {"cPosCode", sql::literal(d.posCode)}, {"cInvCode", sql::literal(d.invCode)},
      {"cBatch", sql::literal(d.batch)}};
  for (int i = 0; i < 10; ++i)
    c.emplace_back("cFree" + std::to_string(i + 1), sql::literal(d.free[i]));
  c.emplace_back("iQuantity", sql::literal(d.quantity));
  c.emplace_back("iNum", sql::literal(d.num));
  c.emplace_back("dDate", dateLiteral(d.date));
  c.emplace_back("cHandler", sql::literal(d.handler));
  c.emplace_back("cMemo", sql::literal(d.memo));
  return c;
}

std::string insertStatement(const InvPositionData& d) {
  std::string cols;
  std::string values;
  for (const auto& [col, value] : recordColumns(d)) {
    cols += (cols.empty() ? "" : ", ") + col;
    values += (values.empty() ? "" : ", ") + value;
  }
  return "INSERT INTO InvPosition (" + cols + ") VALUES (" + values + ")";
}

std::string updateStatement(const InvPositionData& d) {
  std::string set;
  for (const auto& [col, value] : recordColumns(d)) {
    set += (set.empty() ? "" : ", ") + col + " = " + value;
  }
  return "UPDATE InvPosition SET " + set + " WHERE AutoID = " + std::to_string(d.autoId);
}

// Runs one service call: inside its own transaction unless the caller already holds one; a
// refusal or a failure leaves the database as it was.
PositionResult run(InvPosition& position, std::shared_ptr<ado::Connection> conn,
                   const std::function<void(sql::Database&, InvPositionData&)>& work) {
  if (!conn) {
    auto context = position.loginContext();
    if (!context) raise(kErrNoSession, "货位对象没有数据库连接：请传入连接或设置其Login");
    conn = context->connection();
    if (!conn) raise(kErrNoSession, "会话上下文尚未初始化");
  }
  const bool own = !conn->inTransaction();
  if (own) conn->beginTrans();
  InvPositionData working = position.data();
  try {
    work(conn->database(), working);
    if (own) conn->commitTrans();
  } catch (const Refusal& refusal) {
    if (own) conn->rollbackTrans();
    return {false, refusal.text};
  } catch (...) {
    if (own && conn->inTransaction()) conn->rollbackTrans();
    throw;
  }
  position.data() = std::move(working);
  return {true, {}};
}

}  // namespace

PositionResult InvPositionServiceObject::insert(InvPosition& position,
                                                std::shared_ptr<ado::Connection> conn) {
  return run(position, std::move(conn), [](sql::Database& db, InvPositionData& d) {
    validate(db, d);
    std::map<BalanceKey, Delta> changes{{balanceKey(d), effect(d, 1)}};
    applyBalances(db, changes);
    db.execute(insertStatement(d));
    d.autoId = static_cast<std::int32_t>(db.lastInsertRowId());
  });
}

PositionResult InvPositionServiceObject::update(InvPosition& position,
                                                std::shared_ptr<ado::Connection> conn) {
  return run(position, std::move(conn), [](sql::Database& db, InvPositionData& d) {
    InvPositionData old = loadRecord(db, d.autoId);
    validate(db, d);
    std::map<BalanceKey, Delta> changes;
    auto add = [&](const InvPositionData& r, int sign) {
      Delta e = effect(r, sign);
      Delta& c = changes[balanceKey(r)];
      c.quantity += e.quantity;
      c.num += e.num;
    };
    add(old, -1);
    add(d, 1);
    applyBalances(db, changes);
    db.execute(updateStatement(d));
  });
}

PositionResult InvPositionServiceObject::remove(InvPosition& position,
                                                std::shared_ptr<ado::Connection> conn) {
  return run(position, std::move(conn), [](sql::Database& db, InvPositionData& d) {
    InvPositionData old = loadRecord(db, d.autoId);
    std::map<BalanceKey, Delta> changes{{balanceKey(old), effect(old, -1)}};
    applyBalances(db, changes);
    db.execute("DELETE FROM InvPosition WHERE AutoID = " + std::to_string(d.autoId));
  });
}

const automation::MemberTable& InvPositionServiceObject::memberTable() const {
  using Self = InvPositionServiceObject;
  using Op = PositionResult (Self::*)(InvPosition&, std::shared_ptr<ado::Connection>);
  auto call = [](Op op) {
    return [op](Self& self, Args& a) -> Variant {
      auto position = a.objectAs<InvPosition>(0);
      if (!position) {
        throw automation::ComError::objectNotSet();
      }
      PositionResult r = (self.*op)(*position, a.objectAs<ado::Connection>(3));
      if (!a.omitted(4)) a[4] = Variant(r.error);
      return Variant(r.ok);
    };
  };
  auto params = [] {
    using automation::opt;
    using automation::optRef;
    return std::vector<automation::ParamInfo>{
        automation::in("oInvPos", "InvPosition"), opt("rs1", "Recordset"), opt("rs2", "Recordset"),
        opt("oConn", "Connection"), optRef("vResult", "Variant")};
  };
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("InvPositionService")
          .method("Insert", params(), "Boolean", call(&Self::insert))
          .method("Update", params(), "Boolean", call(&Self::update))
          .method("Delete", params(), "Boolean", call(&Self::remove))
          .build();
  return table;
}

}  // namespace quillon::components::suite

namespace quillon::components::suite {

namespace {

using Self = InvPositionObject;
using TypedHandler = std::function<Variant(Self&, Args&)>;

template <class F>
std::pair<TypedHandler, TypedHandler> dataField(F InvPositionData::*member) {
  return {[member](Self& self, Args&) -> Variant {
            return automation::VariantTraits<F>::to(self.data().*member);
          },
          [member](Self& self, Args& a) -> Variant {
            self.data().*member = automation::VariantTraits<F>::from(a.value());
            return {};
          }};
}

}  // namespace

const automation::MemberTable& InvPositionObject::memberTable() const {
  static const automation::MemberTable table = [] {
    automation::MemberBuilder<Self> b("InvPosition");
    b.property(
        "Login", "SessionContext",
        [](Self& self, Args&) -> Variant {
          return Variant(automation::ObjectPtr(self.loginContext()));
        },
        nullptr,
        [](Self& self, Args& a) -> Variant {
          self.setLogin(automation::toObjectAs<SessionContext>(a.value()));
          return {};
        });
    auto add = [&b](std::string name, std::string type, auto member) {
      auto [get, let] = dataField(member);
      b.property(std::move(name), std::move(type), get, let);
    };
    add("AutoID", "Long", &InvPositionData::autoId);
    add("RdsID", "Long", &InvPositionData::rdsId);
    add("RdID", "Long", &InvPositionData::rdId);
    add("bRdFlag", "Boolean", &InvPositionData::inbound);
    add("cWhCode", "String", &InvPositionData::whCode);
    add("cPosCode", "String", &InvPositionData::posCode);
    add("cInvCode", "String", &InvPositionData::invCode);
    add("cBatch", "String", &InvPositionData::batch);
    for (int i = 0; i < 10; ++i) {
      b.property(
          "cFree" + std::to_string(i + 1), "String",
          [i](Self& self, Args&) -> Variant { return Variant(self.data().free[i]); },
          [i](Self& self, Args& a) -> Variant {
            self.data().free[i] = a.value().isNull() ? std::string() : a.value().toString();
            return {};
          });
    }
    add("iQuantity", "Double", &InvPositionData::quantity);
    add("iNum", "Double", &InvPositionData::num);
    add("dDate", "Date", &InvPositionData::date);
    add("cHandler", "String", &InvPositionData::handler);
    add("cMemo", "String", &InvPositionData::memo);
    return b.build();
  }();
  return table;
}

}  // namespace quillon::components::suite
