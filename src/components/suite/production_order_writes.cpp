// The write-backs of the production-order service: issued quantities of material lines, kits of
// product lines, and the closed flag of product lines.
#include <cmath>

#include "ado/connection.h"
#include "automation/text_compare.h"
#include "automation/vb_strings.h"
#include "components/suite/account_settings_object.h"
#include "components/suite/production_order_object.h"
#include "components/suite/rows.h"
#include "components/suite/write_back.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

namespace {

std::string lineName(std::int32_t id) {
  return "生产订单行[" + std::to_string(id) + "]";
}
std::string materialName(std::int32_t id) {
  return "生产订单材料行[" + std::to_string(id) + "]";
}

// The order must be verified and not closed.
void checkOrderOpen(const Rows& r) {
  const std::string code = r.text(0, "cCode");
  const std::int32_t state = r.at(0, "iState").toLong();
  if (state == 3) throw WriteRefusal{"生产订单[" + code + "]已关闭"};
  if (state != 2) throw WriteRefusal{"生产订单[" + code + "]未审核"};
}

void checkLineOpen(const Rows& r, std::int32_t mainId) {
  if (!r.at(0, "cClose").isNull()) throw WriteRefusal{lineName(mainId) + "已关闭"};
}

struct MaterialChange {
  std::int32_t subId = 0;
  double issued = 0;  // after the change
};

// The issued quantity a material line would have after adding `quantity`, within 0 and its
// quantity (widened by the item's over-issue share when the account allows over-issue).
MaterialChange checkedIssue(const Rows& r, std::size_t row, double quantity, bool overIssue) {
  MaterialChange change;
  change.subId = r.at(row, "SubID").toLong();
  const double planned = r.at(row, "fQuantity").toDouble();
  const double issued = r.at(row, "fOutQuantity").toDouble();
  change.issued = issued + quantity;
  if (change.issued < -kQuantityTolerance) {
    throw WriteRefusal{materialName(change.subId) + "的累计出库数量不能小于零"};
  }
  if (overIssue) {
    const double limit = planned * (1.0 + r.at(row, "fOutExcess").toDouble());
    if (change.issued > limit + kQuantityTolerance) {
      throw WriteRefusal{materialName(change.subId) + "的累计出库数量[" +
                         quantityText(change.issued) + "]不能超过出库上限[" + quantityText(limit) +
                         "]"};
    }
  } else if (change.issued > planned + kQuantityTolerance) {
    throw WriteRefusal{materialName(change.subId) + "的累计出库数量[" +
                       quantityText(change.issued) + "]不能超过应出库数量[" +
                       quantityText(planned) + "]"};
  }
  return change;
}

void apply(sql::Database& db, const MaterialChange& change) {
  db.execute("UPDATE pp_POMaterial SET fOutQuantity = " + sql::literal(change.issued) +
             " WHERE SubID = " + std::to_string(change.subId));
}

bool overIssueAllowed(const ProductionOrderService::ConnectionPtr& conn) {
  return AccountSettingsObject(conn).option("OverDispOut");
}

constexpr const char* kMaterialColumns =
    "SELECT m.SubID, m.MainID, m.cInvCode, isnull(m.fQuantity, 0) AS fQuantity, "
    "isnull(m.fOutQuantity, 0) AS fOutQuantity, m.bUsed, isnull(i.fOutExcess, 0) AS fOutExcess "
    "FROM pp_POMaterial m LEFT OUTER JOIN Inventory i ON i.cInvCode = m.cInvCode ";

constexpr const char* kLineColumns =
    "SELECT l.MainID, isnull(l.fQuantity, 0) AS fQuantity, l.cClose, h.cCode, h.iState "
    "FROM pp_POLine l INNER JOIN pp_POHead h ON h.ID = l.ID ";

}  // namespace

void ProductionOrderServiceObject::writeOutQuantity(std::int32_t subId, const std::string& invCode,
                                                    double quantity, ConnectionPtr& conn,
                                                    std::string& errMsg,
                                                    const std::string& /*reserved*/) {
  errMsg = runWriteBack(conn, [&](sql::Database& db) {
    Rows material =
        queryRows(db, std::string(kMaterialColumns) + "WHERE m.SubID = " + std::to_string(subId));
    if (material.empty()) throw WriteRefusal{materialName(subId) + "不存在"};
    const std::int32_t mainId = material.at(0, "MainID").toLong();
    Rows line =
        queryRows(db, std::string(kLineColumns) + "WHERE l.MainID = " + std::to_string(mainId));
    if (line.empty()) throw WriteRefusal{lineName(mainId) + "不存在"};
    checkOrderOpen(line);
    checkLineOpen(line, mainId);
    if (material.at(0, "bUsed").toBool()) {
      throw WriteRefusal{materialName(subId) + "已被限额领料单领用"};
    }
    const std::string stored = material.text(0, "cInvCode");
    if (!invCode.empty() && !automation::equalsNoCase(invCode, stored)) {
      throw WriteRefusal{"存货[" + invCode + "]不是" + materialName(subId) + "的材料[" + stored +
                         "]"};
    }
    apply(db, checkedIssue(material, 0, quantity, overIssueAllowed(conn)));
  });
}

void ProductionOrderServiceObject::writeOutQuantityOI(std::int32_t subId,
                                                      const std::string& invCode, double quantity,
                                                      ConnectionPtr& conn, std::string& errMsg,
                                                      const std::string& /*reserved*/) {
  errMsg = runWriteBack(conn, [&](sql::Database& db) {
    Rows line =
        queryRows(db, std::string(kLineColumns) + "WHERE l.MainID = " + std::to_string(subId));
    if (line.empty()) throw WriteRefusal{lineName(subId) + "不存在"};
    checkOrderOpen(line);
    checkLineOpen(line, subId);
    const double products = line.at(0, "fQuantity").toDouble();
    if (std::fabs(products) < kQuantityTolerance) {
      throw WriteRefusal{lineName(subId) + "的生产数量为零，不能按套出库"};
    }
    std::string where = "WHERE m.MainID = " + std::to_string(subId) + " AND m.bUsed = 0";
    if (!invCode.empty()) where += " AND m.cInvCode = " + sql::literal(invCode);
    Rows materials = queryRows(db, std::string(kMaterialColumns) + where + " ORDER BY m.SubID");
    if (materials.empty()) {
      throw WriteRefusal{invCode.empty() ? lineName(subId) + "没有可出库的材料"
                                         : lineName(subId) + "没有材料[" + invCode + "]"};
    }
    const bool overIssue = overIssueAllowed(conn);
    std::vector<MaterialChange> changes;
    for (std::size_t i = 0; i < materials.size(); ++i) {
      const double share = materials.at(i, "fQuantity").toDouble() / products;
      changes.push_back(checkedIssue(materials, i, quantity * share, overIssue));
    }
    for (const auto& change : changes) apply(db, change);
  });
}

void ProductionOrderServiceObject::writeClosed(std::int32_t subId, bool bClose, ConnectionPtr& conn,
                                               std::string& errMsg,
                                               const std::string& /*reserved*/) {
  errMsg = runWriteBack(conn, [&](sql::Database& db) {
    Rows line =
        queryRows(db, std::string(kLineColumns) + "WHERE l.MainID = " + std::to_string(subId));
    if (line.empty()) throw WriteRefusal{lineName(subId) + "不存在"};
    const bool closed = !line.at(0, "cClose").isNull();
    if (line.at(0, "iState").toLong() == 3) {
      throw WriteRefusal{"生产订单[" + line.text(0, "cCode") + "]已关闭"};
    }
    if (bClose && closed) throw WriteRefusal{lineName(subId) + "已关闭"};
    if (!bClose && !closed) throw WriteRefusal{lineName(subId) + "未关闭"};
    db.execute("UPDATE pp_POLine SET cClose = " +
               (bClose ? sql::literal(closerName(context_)) : std::string("NULL")) +
               " WHERE MainID = " + std::to_string(subId));
  });
}

}  // namespace quillon::components::suite
