// The write-backs of the outsourced-order service: received products (with the inspection that
// released them), issued materials and the closing of product lines.
#include <algorithm>
#include <cmath>
#include <vector>

#include "ado/connection.h"
#include "automation/text_compare.h"
#include "automation/vb_strings.h"
#include "components/suite/account_settings_object.h"
#include "components/suite/outsourcing/outsourced_order_object.h"
#include "components/suite/rows.h"
#include "components/suite/write_back.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

namespace {

std::string lineName(std::int32_t id) {
  return "委外订单行[" + std::to_string(id) + "]";
}
std::string materialName(std::int32_t id) {
  return "委外订单材料行[" + std::to_string(id) + "]";
}

bool isZero(double v) {
  return std::fabs(v) <= kQuantityTolerance;
}

// The order must be verified and not closed, the product line open.
void checkOpen(const Rows& r, std::int32_t mainId) {
  const std::string code = r.text(0, "cCode");
  const std::int32_t state = r.at(0, "iState").toLong();
  if (state == 3) throw WriteRefusal{"委外订单[" + code + "]已关闭"};
  if (state != 2) throw WriteRefusal{"委外订单[" + code + "]未审核"};
  if (!automation::Trim(r.text(0, "cClose")).empty()) {
    throw WriteRefusal{lineName(mainId) + "已关闭"};
  }
}

void checkItem(const std::string& invCode, const std::string& stored, const std::string& line) {
  if (!invCode.empty() && !automation::equalsNoCase(invCode, stored)) {
    throw WriteRefusal{"存货[" + invCode + "]不是" + line + "的存货[" + stored + "]"};
  }
}

// A counter after adding `change`, within 0 and `limit`; `what` names it in the refusal.
double checkedCounter(double current, double change, double limit, const std::string& what,
                      const std::string& limitName) {
  const double after = current + change;
  if (after < -kQuantityTolerance) throw WriteRefusal{what + "不能小于零"};
  if (after > limit + kQuantityTolerance) {
    throw WriteRefusal{what + "[" + quantityText(after) + "]不能超过" + limitName + "[" +
                       quantityText(limit) + "]"};
  }
  return after;
}

// Pieces moved together with `quantity` on a line whose pieces are `pieces` (Null: the line has
// none), by the unit group's rule.
double piecesFor(double quantity, const automation::Variant& pieces, std::int32_t groupType,
                 double fixedRate, double ratePieces, double rateQuantity) {
  if (pieces.isNull()) return 0;
  if (groupType == 1) return fixedRate > kQuantityTolerance ? quantity / fixedRate : 0;
  if (groupType == 2 && ratePieces > kQuantityTolerance && rateQuantity > kQuantityTolerance) {
    return quantity * ratePieces / rateQuantity;
  }
  return 0;
}

// Pieces after a change, kept within 0 and the line's pieces (rounding of a rate never refuses).
double clampedPieces(double current, double change, const automation::Variant& total) {
  double after = current + change;
  if (after < 0) after = 0;
  if (!total.isNull() && after > total.toDouble()) after = total.toDouble();
  return after;
}

// One inspection row's counter of received goods (qualified, or accepted by concession).
struct Released {
  std::string table;
  std::string key;  // "AutoID = n" / "ID = n"
  std::string quantityColumn;
  std::string piecesColumn;
  double released = 0;
  double received = 0;
  automation::Variant pieces;  // the released pieces, Null when none
  double receivedPieces = 0;
  double taken = 0;  // what this write books on it
};

// Spreads `amount` over the rows: receipts fill the oldest open row first, take-backs empty the
// newest first. What cannot be booked is refused.
void spread(std::vector<Released>& rows, double amount, const std::string& refusal) {
  double left = amount;
  if (amount > 0) {
    for (Released& r : rows) {
      const double open = std::max(0.0, r.released - r.received);
      r.taken = std::min(open, left);
      left -= r.taken;
    }
  } else {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
      it->taken = -std::min(std::max(0.0, it->received), -left);
      left -= it->taken;
    }
  }
  if (!isZero(left)) throw WriteRefusal{refusal};
}

double total(const std::vector<Released>& rows, bool open) {
  double sum = 0;
  for (const Released& r : rows) sum += open ? std::max(0.0, r.released - r.received) : r.received;
  return sum;
}

void book(sql::Database& db, const Released& r) {
  if (isZero(r.taken)) return;
  const double pieces =
      r.pieces.isNull() || r.released <= kQuantityTolerance
          ? 0
          : clampedPieces(r.receivedPieces, r.taken * r.pieces.toDouble() / r.released, r.pieces);
  std::string set = r.quantityColumn + " = " + sql::literal(r.received + r.taken);
  if (!r.pieces.isNull()) set += ", " + r.piecesColumn + " = " + sql::literal(pieces);
  db.execute("UPDATE " + r.table + " SET " + set + " WHERE " + r.key);
}

constexpr const char* kProductLine =
    "SELECT l.MainID, l.cInvCode, isnull(l.fQuantity, 0) AS fQuantity, l.fNum, "
    "isnull(l.fInQuantity, 0) AS fInQuantity, isnull(l.fInNum, 0) AS fInNum, l.bCheck, l.bUsed, "
    "l.cClose, h.cCode, h.iState, isnull(i.fInExcess, 0) AS fInExcess, "
    "isnull(i.iGroupType, 0) AS iGroupType, isnull(u.iChangRate, 0) AS iChangRate "
    "FROM OM_POMain l INNER JOIN OM_ProductPO h ON h.ID = l.ID "
    "LEFT OUTER JOIN Inventory i ON i.cInvCode = l.cInvCode "
    "LEFT OUTER JOIN ComputationUnit u ON u.cComunitCode = l.cUnitID WHERE l.MainID = ";

// The verified inspection rows of a product line, oldest first, with their nonconformity records.
constexpr const char* kInspectionRows =
    "SELECT s.AutoID, isnull(s.fHGQuantity, 0) AS fHGQuantity, "
    "isnull(s.fHGInQuantity, 0) AS fHGInQuantity, s.fHGNum, isnull(s.fHGInNum, 0) AS fHGInNum, "
    "r.ID AS RejID, isnull(r.fYBJSQuantity, 0) AS fYBJSQuantity, "
    "isnull(r.fYBJSInQuantity, 0) AS fYBJSInQuantity, r.fYBJSNum, "
    "isnull(r.fYBJSInNum, 0) AS fYBJSInNum FROM qm_ncheckvouchers s "
    "INNER JOIN qm_ncheckvoucher v ON v.ID = s.ID "
    "LEFT OUTER JOIN qm_ncvreject r ON r.ID = s.iRejID "
    "WHERE v.cVouchType = 'QM16' AND v.cSourceCardNumber = 'OM02' "
    "AND isnull(v.cVerifier, '') <> '' AND s.iSourceAutoID = ";

struct Inspection {
  std::vector<Released> qualified;
  std::vector<Released> concession;
};

// Row i's counter of received goods: the released quantity and pieces columns, and the received
// ones a receipt writes.
Released released(const Rows& rows, std::size_t i, std::string table, std::string key,
                  const char* quantity, const char* received, const char* pieces,
                  const char* receivedPieces) {
  Released r;
  r.table = std::move(table);
  r.key = std::move(key);
  r.quantityColumn = received;
  r.piecesColumn = receivedPieces;
  r.released = rows.at(i, quantity).toDouble();
  r.received = rows.at(i, received).toDouble();
  r.pieces = rows.at(i, pieces);
  r.receivedPieces = rows.at(i, receivedPieces).toDouble();
  return r;
}

Inspection readInspection(sql::Database& db, std::int32_t mainId) {
  Rows rows =
      queryRows(db, std::string(kInspectionRows) + std::to_string(mainId) + " ORDER BY s.AutoID");
  Inspection in;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    in.qualified.push_back(released(rows, i, "qm_ncheckvouchers",
                                    "AutoID = " + std::to_string(rows.at(i, "AutoID").toLong()),
                                    "fHGQuantity", "fHGInQuantity", "fHGNum", "fHGInNum"));
    if (rows.at(i, "RejID").isNull()) continue;
    in.concession.push_back(released(rows, i, "qm_ncvreject",
                                     "ID = " + std::to_string(rows.at(i, "RejID").toLong()),
                                     "fYBJSQuantity", "fYBJSInQuantity", "fYBJSNum", "fYBJSInNum"));
  }
  return in;
}

std::string spreadRefusal(std::int32_t mainId, const char* what, double amount,
                          const std::vector<Released>& rows) {
  if (amount > 0) {
    return lineName(mainId) + "的" + what + "待入库数量[" + quantityText(total(rows, true)) +
           "]不足本次入库数量[" + quantityText(amount) + "]";
  }
  return lineName(mainId) + "的" + what + "已入库数量[" + quantityText(total(rows, false)) +
         "]不足冲回数量[" + quantityText(-amount) + "]";
}

}  // namespace

void OutsourcedOrderServiceObject::writeReceipt(std::int32_t mainId, const std::string& invCode,
                                                double quantity, double& tookQuantity,
                                                double& invalidQuantity, ConnectionPtr& conn,
                                                std::string& errMsg,
                                                const std::string& /*reserved*/,
                                                const automation::Variant& /*reservedValue*/) {
  const double concession = invalidQuantity;
  double took = 0;
  double invalid = 0;
  errMsg = runWriteBack(conn, [&](sql::Database& db) {
    Rows line = queryRows(db, std::string(kProductLine) + std::to_string(mainId));
    if (line.empty()) throw WriteRefusal{lineName(mainId) + "不存在"};
    checkOpen(line, mainId);
    checkItem(invCode, line.text(0, "cInvCode"), lineName(mainId));
    if (!std::isfinite(concession) || !std::isfinite(quantity)) {
      throw WriteRefusal{lineName(mainId) + "的入库数量不是有效的数字"};
    }
    if (!isZero(concession) &&
        (quantity * concession < 0 || std::fabs(concession) > std::fabs(quantity) + 1e-9)) {
      throw WriteRefusal{"让步接收数量[" + quantityText(concession) + "]不能超过本次入库数量[" +
                         quantityText(quantity) + "]"};
    }
    const double ordered = line.at(0, "fQuantity").toDouble();
    const bool overOrder = AccountSettingsObject(conn).option("OverOrder");
    const double limit = overOrder ? ordered * (1.0 + line.at(0, "fInExcess").toDouble()) : ordered;
    const double received =
        checkedCounter(line.at(0, "fInQuantity").toDouble(), quantity, limit,
                       lineName(mainId) + "的累计入库数量", overOrder ? "入库上限" : "订单数量");

    const bool inspected = line.at(0, "bCheck").toBool();
    if (!inspected && !isZero(concession)) {
      throw WriteRefusal{lineName(mainId) + "未检验，没有让步接收的数量"};
    }
    if (inspected) {
      Inspection in = readInspection(db, mainId);
      const double qualified = quantity - concession;
      spread(in.qualified, qualified, spreadRefusal(mainId, "合格", qualified, in.qualified));
      if (!isZero(concession)) {
        spread(in.concession, concession,
               spreadRefusal(mainId, "让步接收", concession, in.concession));
      }
      for (const Released& r : in.qualified) book(db, r);
      for (const Released& r : in.concession) book(db, r);
    }

    const automation::Variant& pieces = line.at(0, "fNum");
    const double piecesChange = piecesFor(quantity, pieces, line.at(0, "iGroupType").toLong(),
                                          line.at(0, "iChangRate").toDouble(),
                                          pieces.isNull() ? 0 : pieces.toDouble(), ordered);
    std::string set = "fInQuantity = " + sql::literal(received);
    if (!pieces.isNull()) {
      set += ", fInNum = " +
             sql::literal(clampedPieces(line.at(0, "fInNum").toDouble(), piecesChange, pieces));
    }
    db.execute("UPDATE OM_POMain SET " + set + " WHERE MainID = " + std::to_string(mainId));
    took = quantity - concession;
    invalid = concession;
  });
  if (errMsg.empty()) {
    tookQuantity = took;
    invalidQuantity = invalid;
  }
}

void OutsourcedOrderServiceObject::writeIssue(std::int32_t subId, const std::string& invCode,
                                              double quantity, ConnectionPtr& conn,
                                              std::string& errMsg, const std::string& /*reserved*/,
                                              const automation::Variant& /*reservedValue*/) {
  errMsg = runWriteBack(conn, [&](sql::Database& db) {
    Rows m = queryRows(
        db,
        "SELECT d.SubID, d.MainID, d.cInvCode, isnull(d.fQuantity, 0) AS fQuantity, d.fNum, "
        "isnull(d.fOutQuantity, 0) AS fOutQuantity, isnull(d.fOutNum, 0) AS fOutNum, l.bUsed, "
        "l.cClose, h.cCode, h.iState, isnull(i.fOutExcess, 0) AS fOutExcess, "
        "isnull(i.iGroupType, 0) AS iGroupType, isnull(u.iChangRate, 0) AS iChangRate "
        "FROM OM_PODetails d INNER JOIN OM_POMain l ON l.MainID = d.MainID "
        "INNER JOIN OM_ProductPO h ON h.ID = l.ID "
        "LEFT OUTER JOIN Inventory i ON i.cInvCode = d.cInvCode "
        "LEFT OUTER JOIN ComputationUnit u ON u.cComunitCode = d.cUnitID WHERE d.SubID = " +
            std::to_string(subId));
    if (m.empty()) throw WriteRefusal{materialName(subId) + "不存在"};
    checkOpen(m, m.at(0, "MainID").toLong());
    if (m.at(0, "bUsed").toBool()) {
      throw WriteRefusal{lineName(m.at(0, "MainID").toLong()) + "已被限额领料单领用"};
    }
    checkItem(invCode, m.text(0, "cInvCode"), materialName(subId));
    if (!std::isfinite(quantity))
      throw WriteRefusal{materialName(subId) + "的出库数量不是有效的数字"};
    const double planned = m.at(0, "fQuantity").toDouble();
    const double issued = m.at(0, "fOutQuantity").toDouble();
    const bool overIssue = AccountSettingsObject(conn).option("OverDispOut");
    const double limit = overIssue ? planned * (1.0 + m.at(0, "fOutExcess").toDouble()) : planned;
    const double after =
        checkedCounter(issued, quantity, limit, materialName(subId) + "的累计出库数量",
                       overIssue ? "出库上限" : "应出库数量");

    const automation::Variant& pieces = m.at(0, "fNum");
    const double issuedPieces = m.at(0, "fOutNum").toDouble();
    // Floating rates follow what is still open; taking back follows what was issued.
    const double ratePieces =
        quantity > 0 ? (pieces.isNull() ? 0 : pieces.toDouble()) - issuedPieces : issuedPieces;
    const double rateQuantity = quantity > 0 ? planned - issued : issued;
    const double piecesChange =
        piecesFor(quantity, pieces, m.at(0, "iGroupType").toLong(),
                  m.at(0, "iChangRate").toDouble(), ratePieces, rateQuantity);
    std::string set = "fOutQuantity = " + sql::literal(after);
    if (!pieces.isNull()) {
      set += ", fOutNum = " + sql::literal(clampedPieces(issuedPieces, piecesChange, pieces));
    }
    db.execute("UPDATE OM_PODetails SET " + set + " WHERE SubID = " + std::to_string(subId));
  });
}

void OutsourcedOrderServiceObject::writeClosed(std::int32_t mainId, bool close, ConnectionPtr& conn,
                                               std::string& errMsg, const std::string& /*reserved*/,
                                               const automation::Variant& /*reservedValue*/) {
  errMsg = runWriteBack(conn, [&](sql::Database& db) {
    Rows line = queryRows(db,
                          "SELECT l.MainID, l.cClose, h.cCode, h.iState FROM OM_POMain l "
                          "INNER JOIN OM_ProductPO h ON h.ID = l.ID WHERE l.MainID = " +
                              std::to_string(mainId));
    if (line.empty()) throw WriteRefusal{lineName(mainId) + "不存在"};
    const std::string code = line.text(0, "cCode");
    const std::int32_t state = line.at(0, "iState").toLong();
    if (state == 3) throw WriteRefusal{"委外订单[" + code + "]已关闭"};
    if (state != 2) throw WriteRefusal{"委外订单[" + code + "]未审核"};
    const bool closed = !automation::Trim(line.text(0, "cClose")).empty();
    if (close && closed) throw WriteRefusal{lineName(mainId) + "已关闭"};
    if (!close && !closed) throw WriteRefusal{lineName(mainId) + "未关闭"};
    db.execute("UPDATE OM_POMain SET cClose = " +
               (close ? sql::literal(closerName(context_)) : std::string("NULL")) +
               " WHERE MainID = " + std::to_string(mainId));
  });
}

}  // namespace quillon::components::suite
