#include "components/suite/production_order_object.h"

#include <charconv>
#include <optional>

#include "ado/recordset.h"
#include "automation/vb_strings.h"

namespace quillon::components::suite {

using automation::Args;
using automation::Variant;

namespace {

bool connectionUsable(const ProductionOrderService::ConnectionPtr& conn, std::string& errMsg) {
  if (conn && conn->isOpen()) return true;
  errMsg = "数据库连接未打开";
  return false;
}

// Runs the query `statement` builds into `rs`; a condition it refuses and failures of the
// database come back as the error text and leave `rs` as it was.
template <typename Build>
void runQuery(Build statement, ProductionOrderService::RecordsetPtr& rs,
              ProductionOrderService::ConnectionPtr& conn, std::string& errMsg, bool& result) {
  result = false;
  if (!connectionUsable(conn, errMsg)) return;
  try {
    const std::string sql = statement();
    auto fresh = std::make_shared<ado::Recordset>();
    fresh->setCursorLocation(ado::adUseClient);
    fresh->open(sql, conn);
    rs = std::move(fresh);
    errMsg.clear();
    result = true;
  } catch (const automation::ComError& e) {
    errMsg = e.description();
  }
}

// A head key as the lists show it: a whole number, blanks around it allowed.
std::optional<std::int32_t> parseKey(std::string_view text) {
  const std::string trimmed = automation::Trim(text);
  std::int32_t value = 0;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  auto [end, ec] = std::from_chars(first, last, value);
  if (trimmed.empty() || ec != std::errc() || end != last) return std::nullopt;
  return value;
}

}  // namespace

void ProductionOrderServiceObject::heads(OrderQueryKind kind, const std::string& where,
                                         RecordsetPtr& rs, ConnectionPtr& conn, std::string& errMsg,
                                         std::int32_t state, bool openOnly, bool& result) {
  runQuery([&] { return productionHeadQuery(kind, where, state, openOnly); }, rs, conn, errMsg,
           result);
}

void ProductionOrderServiceObject::lines(OrderQueryKind kind, const std::string& headKey,
                                         RecordsetPtr& rs, ConnectionPtr& conn, std::string& errMsg,
                                         std::int32_t state, bool openOnly,
                                         const std::string& invCondition, bool& result) {
  result = false;
  const auto id = parseKey(headKey);
  if (!id) {
    errMsg = "生产订单[" + headKey + "]不存在";
    return;
  }
  runQuery([&] { return productionLineQuery(kind, *id, state, openOnly, invCondition); }, rs, conn,
           errMsg, result);
}

void ProductionOrderServiceObject::listHeads(const std::string& where, RecordsetPtr& rs,
                                             ConnectionPtr& conn, std::string& errMsg,
                                             std::int32_t state, bool openOnly, bool& result) {
  heads(OrderQueryKind::Issue, where, rs, conn, errMsg, state, openOnly, result);
}

void ProductionOrderServiceObject::listHeadsOI(const std::string& where, RecordsetPtr& rs,
                                               ConnectionPtr& conn, std::string& errMsg,
                                               std::int32_t state, bool openOnly, bool& result) {
  heads(OrderQueryKind::OutsourcedIssue, where, rs, conn, errMsg, state, openOnly, result);
}

void ProductionOrderServiceObject::listHeads39(const std::string& where, RecordsetPtr& rs,
                                               ConnectionPtr& conn, std::string& errMsg,
                                               std::int32_t state, bool openOnly, bool& result) {
  heads(OrderQueryKind::Receipt, where, rs, conn, errMsg, state, openOnly, result);
}

void ProductionOrderServiceObject::listLines(const std::string& headKey, RecordsetPtr& rs,
                                             ConnectionPtr& conn, std::string& errMsg,
                                             std::int32_t state, bool openOnly,
                                             const std::string& invCondition, bool& result) {
  lines(OrderQueryKind::Issue, headKey, rs, conn, errMsg, state, openOnly, invCondition, result);
}

void ProductionOrderServiceObject::listLinesOI(const std::string& headKey, RecordsetPtr& rs,
                                               ConnectionPtr& conn, std::string& errMsg,
                                               std::int32_t state, bool openOnly,
                                               const std::string& invCondition, bool& result) {
  lines(OrderQueryKind::OutsourcedIssue, headKey, rs, conn, errMsg, state, openOnly, invCondition,
        result);
}

void ProductionOrderServiceObject::listLines39(const std::string& headKey, RecordsetPtr& rs,
                                               ConnectionPtr& conn, std::string& errMsg,
                                               std::int32_t state, bool openOnly,
                                               const std::string& invCondition, bool& result) {
  lines(OrderQueryKind::Receipt, headKey, rs, conn, errMsg, state, openOnly, invCondition, result);
}

void ProductionOrderServiceObject::listMaterials(std::int32_t lineKey, double lineQuantity,
                                                 RecordsetPtr& rs, ConnectionPtr& conn,
                                                 std::string& errMsg,
                                                 const std::string& invCondition, bool& result) {
  runQuery([&] { return productionMaterialQuery(lineKey, lineQuantity, invCondition); }, rs, conn,
           errMsg, result);
}

// ---- late-bound members

namespace {

using Self = ProductionOrderServiceObject;
using automation::in;
using automation::opt;
using automation::ref;

ProductionOrderService::RecordsetPtr recordsetArg(const Variant& v) {
  return automation::toObjectAs<ado::Recordset>(v);
}
ProductionOrderService::ConnectionPtr connectionArg(const Variant& v) {
  return automation::toObjectAs<ado::Connection>(v);
}
Variant objectVariant(const std::shared_ptr<automation::Object>& o) {
  return Variant(o);
}

using HeadFn = void (Self::*)(const std::string&, Self::RecordsetPtr&, Self::ConnectionPtr&,
                              std::string&, std::int32_t, bool, bool&);
using LineFn = void (Self::*)(const std::string&, Self::RecordsetPtr&, Self::ConnectionPtr&,
                              std::string&, std::int32_t, bool, const std::string&, bool&);
using WriteFn = void (Self::*)(std::int32_t, const std::string&, double, Self::ConnectionPtr&,
                               std::string&, const std::string&);

std::vector<automation::ParamInfo> headParams() {
  return {in("sWhere", "String"),   ref("rs", "Recordset"), ref("conn", "Connection"),
          ref("ErrMsg", "String"),  in("iState", "Long"),   in("bOpenOnly", "Boolean"),
          ref("bResult", "Boolean")};
}
std::vector<automation::ParamInfo> lineParams() {
  return {in("sHeadId", "String"),       ref("rs", "Recordset"),   ref("conn", "Connection"),
          ref("ErrMsg", "String"),       in("iState", "Long"),     in("bOpenOnly", "Boolean"),
          in("sInvCondition", "String"), ref("bResult", "Boolean")};
}
std::vector<automation::ParamInfo> writeParams() {
  return {in("lSubId", "Long"),      in("cInvCode", "String"),
          in("dQuantity", "Double"), ref("conn", "Connection"),
          ref("ErrMsg", "String"),   opt("sReserved", "String", Variant(""))};
}

using Handler = automation::MemberBuilder<Self>::TypedHandler;

Handler headHandler(HeadFn fn) {
  return [fn](Self& self, Args& a) -> Variant {
    auto rs = recordsetArg(a[1]);
    auto conn = connectionArg(a[2]);
    std::string err = a.str(3);
    bool result = false;
    (self.*fn)(a.str(0), rs, conn, err, a.lng(4), a.boolean(5), result);
    a[1] = objectVariant(rs);
    a[2] = objectVariant(conn);
    a[3] = Variant(err);
    a[6] = Variant(result);
    return {};
  };
}

Handler lineHandler(LineFn fn) {
  return [fn](Self& self, Args& a) -> Variant {
    auto rs = recordsetArg(a[1]);
    auto conn = connectionArg(a[2]);
    std::string err = a.str(3);
    bool result = false;
    (self.*fn)(a.str(0), rs, conn, err, a.lng(4), a.boolean(5), a.str(6), result);
    a[1] = objectVariant(rs);
    a[2] = objectVariant(conn);
    a[3] = Variant(err);
    a[7] = Variant(result);
    return {};
  };
}

Handler writeHandler(WriteFn fn) {
  return [fn](Self& self, Args& a) -> Variant {
    auto conn = connectionArg(a[3]);
    std::string err = a.str(4);
    (self.*fn)(a.lng(0), a.str(1), a.dbl(2), conn, err, a.str(5));
    a[3] = objectVariant(conn);
    a[4] = Variant(err);
    return {};
  };
}

}  // namespace

const automation::MemberTable& ProductionOrderServiceObject::memberTable() const {
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("ProductionOrderService")
          .method("GetHeads", headParams(), "", headHandler(&Self::listHeads))
          .method("GetHeadsOI", headParams(), "", headHandler(&Self::listHeadsOI))
          .method("GetHeads39", headParams(), "", headHandler(&Self::listHeads39))
          .method("GetLines", lineParams(), "", lineHandler(&Self::listLines))
          .method("GetLinesOI", lineParams(), "", lineHandler(&Self::listLinesOI))
          .method("GetLines39", lineParams(), "", lineHandler(&Self::listLines39))
          .method("GetMaterials",
                  {in("lLineId", "Long"), in("dQuantity", "Double"), ref("rs", "Recordset"),
                   ref("conn", "Connection"), ref("ErrMsg", "String"),
                   in("sInvCondition", "String"), ref("bResult", "Boolean")},
                  "",
                  [](Self& self, Args& a) -> Variant {
                    auto rs = recordsetArg(a[2]);
                    auto conn = connectionArg(a[3]);
                    std::string err = a.str(4);
                    bool result = false;
                    self.listMaterials(a.lng(0), a.dbl(1), rs, conn, err, a.str(5), result);
                    a[2] = objectVariant(rs);
                    a[3] = objectVariant(conn);
                    a[4] = Variant(err);
                    a[6] = Variant(result);
                    return {};
                  })
          .method("WriteOutQuantity", writeParams(), "", writeHandler(&Self::writeOutQuantity))
          .method("WriteOutQuantityOI", writeParams(), "", writeHandler(&Self::writeOutQuantityOI))
          .method("WriteClosed",
                  {in("lSubId", "Long"), in("bClose", "Boolean"), ref("conn", "Connection"),
                   ref("ErrMsg", "String"), opt("sReserved", "String", Variant(""))},
                  "",
                  [](Self& self, Args& a) -> Variant {
                    auto conn = connectionArg(a[2]);
                    std::string err = a.str(3);
                    self.writeClosed(a.lng(0), a.boolean(1), conn, err, a.str(4));
                    a[2] = objectVariant(conn);
                    a[3] = Variant(err);
                    return {};
                  })
          .build();
  return table;
}

}  // namespace quillon::components::suite
