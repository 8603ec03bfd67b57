#include "components/suite/dispatch_quantity_object.h"

#include <cmath>

#include "ado/connection.h"
#include "automation/text_compare.h"
#include "automation/vb_strings.h"
#include "components/suite/account_settings_object.h"
#include "components/suite/rows.h"
#include "components/suite/write_back.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

using automation::Args;
using automation::Variant;

namespace {

std::string lineName(std::int32_t id) {
  return "发货单行[" + std::to_string(id) + "]";
}

}  // namespace

void DispatchQuantityServiceObject::write(std::shared_ptr<ado::Connection>& conn,
                                          std::int32_t lineId, const std::string& invCode,
                                          double quantity, double pieces, std::string& errMsg) {
  errMsg = runWriteBack(conn, [&](sql::Database& db) {
    Rows r =
        queryRows(db,
                  "SELECT l.AutoID, l.cInvCode, isnull(l.iQuantity, 0) AS iQuantity, "
                  "isnull(l.fOutQuantity, 0) AS fOutQuantity, isnull(l.fOutNum, 0) AS fOutNum, "
                  "l.cCloser AS cLineCloser, h.cDLCode, h.iState, h.cCloser, "
                  "isnull(i.fOutExcess, 0) AS fOutExcess FROM DispatchLists l "
                  "INNER JOIN DispatchList h ON h.DLID = l.DLID "
                  "LEFT OUTER JOIN Inventory i ON i.cInvCode = l.cInvCode WHERE l.AutoID = " +
                      std::to_string(lineId));
    if (r.empty()) throw WriteRefusal{lineName(lineId) + "不存在"};
    const std::string code = r.text(0, "cDLCode");
    if (r.at(0, "iState").toLong() == 3 || !r.at(0, "cCloser").isNull()) {
      throw WriteRefusal{"发货单[" + code + "]已关闭"};
    }
    if (!r.at(0, "cLineCloser").isNull()) throw WriteRefusal{lineName(lineId) + "已关闭"};
    const std::string stored = r.text(0, "cInvCode");
    if (!invCode.empty() && !automation::equalsNoCase(invCode, stored)) {
      throw WriteRefusal{"存货[" + invCode + "]不是" + lineName(lineId) + "的存货[" + stored + "]"};
    }
    // A red note runs from its (negative) quantity up to zero: compare in the note's direction.
    const double planned = r.at(0, "iQuantity").toDouble();
    const double sign = planned < 0 ? -1.0 : 1.0;
    const double issued = r.at(0, "fOutQuantity").toDouble() + quantity;
    if (sign * issued < -kQuantityTolerance) {
      throw WriteRefusal{lineName(lineId) + "的累计出库数量不能" +
                         (sign > 0 ? std::string("小于零") : std::string("大于零"))};
    }
    const bool overIssue = AccountSettingsObject(conn).option("OverDispOut");
    const double limit = overIssue ? planned * (1.0 + r.at(0, "fOutExcess").toDouble()) : planned;
    if (sign * issued > sign * limit + kQuantityTolerance) {
      throw WriteRefusal{lineName(lineId) + "的累计出库数量[" + quantityText(issued) + "]不能超过" +
                         (overIssue ? "出库上限[" : "应出库数量[") + quantityText(limit) + "]"};
    }
    const double num = r.at(0, "fOutNum").toDouble() + pieces;
    db.execute("UPDATE DispatchLists SET fOutQuantity = " + sql::literal(issued) +
               ", fOutNum = " + sql::literal(num) + " WHERE AutoID = " + std::to_string(lineId));
  });
}

const automation::MemberTable& DispatchQuantityServiceObject::memberTable() const {
  using automation::in;
  using automation::opt;
  using automation::ref;
  using Self = DispatchQuantityServiceObject;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("DispatchQuantityService")
          .method("Write",
                  {ref("conn", "Connection"), in("lLineId", "Long"), in("cInvCode", "String"),
                   in("dQuantity", "Double"), opt("dNum", "Double", Variant(0.0)),
                   ref("ErrMsg", "String"), opt("vReserved", "Variant")},
                  "",
                  [](Self& self, Args& a) -> Variant {
                    auto conn = automation::toObjectAs<ado::Connection>(a[0]);
                    std::string err = a.str(5);
                    const double num = a[4].isEmpty() ? 0.0 : a.dbl(4);
                    self.write(conn, a.lng(1), a.str(2), a.dbl(3), num, err);
                    a[0] = Variant(std::static_pointer_cast<automation::Object>(conn));
                    a[5] = Variant(err);
                    return {};
                  })
          .build();
  return table;
}

}  // namespace quillon::components::suite
