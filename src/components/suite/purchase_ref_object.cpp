#include "components/suite/purchase_ref_object.h"

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "components/suite/purchase_ref_queries.h"

namespace quillon::components {

std::shared_ptr<PurchaseRefService> purchaseRefService() {
  // Module state of this layer: the one service of the process, whose ShowClosed switch every
  // dialog shares.
  static const std::shared_ptr<PurchaseRefService> instance =
      std::make_shared<suite::PurchaseRefServiceObject>();
  return instance;
}

}  // namespace quillon::components

namespace quillon::components::suite {

using automation::Args;
using automation::Variant;

namespace {

// Runs a statement on the session's connection; the recordset is replaced only once it is open.
void runQuery(SessionContext& session, const std::string& sql,
              PurchaseRefService::RecordsetPtr& rs) {
  auto conn = session.connection();
  if (!conn || !conn->isOpen()) {
    throw automation::ComError::objectNotSet();
  }
  auto fresh = std::make_shared<ado::Recordset>();
  fresh->setCursorLocation(ado::adUseClient);
  fresh->open(sql, conn);
  rs = std::move(fresh);
}

}  // namespace

void PurchaseRefServiceObject::getOrderHeads(SessionContext& session, const std::string& where,
                                             RecordsetPtr& rs) {
  runQuery(session, orderHeadQuery(where, showClosed_), rs);
}

void PurchaseRefServiceObject::getArrivalHeads(SessionContext& session, const std::string& where,
                                               RecordsetPtr& rs) {
  runQuery(session, arrivalHeadQuery(where, showClosed_), rs);
}

void PurchaseRefServiceObject::getOrderLines(SessionContext& session, std::int32_t orderId,
                                             const std::string& where, RecordsetPtr& rs) {
  runQuery(session, orderLineQuery(orderId, where, showClosed_), rs);
}

void PurchaseRefServiceObject::getArrivalLines(SessionContext& session, std::int32_t arrivalId,
                                               const std::string& where, RecordsetPtr& rs) {
  runQuery(session, arrivalLineQuery(arrivalId, where, showClosed_), rs);
}

void PurchaseRefServiceObject::getDeliveryHeads(SessionContext& session, const std::string& where,
                                                RecordsetPtr& rs) {
  runQuery(session, deliveryHeadQuery(where, showClosed_), rs);
}

void PurchaseRefServiceObject::getDeliveryLines(SessionContext& session, const std::string& where,
                                                RecordsetPtr& rs) {
  runQuery(session, deliveryLineQuery(where), rs);
}

// ---- late-bound members

namespace {

using Self = PurchaseRefServiceObject;
using automation::in;
using automation::ref;

SessionContext& sessionArg(const Variant& v) {
  auto session = automation::toObjectAs<SessionContext>(v);
  if (!session) {
    throw automation::ComError::objectNotSet();
  }
  return *session;
}

// The recordset a caller hands in to be replaced: a fresh variable (Empty) is as good as Nothing.
PurchaseRefService::RecordsetPtr recordsetArg(const Variant& v) {
  if (v.isEmpty() || v.isMissing()) return nullptr;
  return automation::toObjectAs<ado::Recordset>(v);
}

using HeadFn = void (Self::*)(SessionContext&, const std::string&, Self::RecordsetPtr&);
using LineFn = void (Self::*)(SessionContext&, std::int32_t, const std::string&,
                              Self::RecordsetPtr&);

automation::MemberBuilder<Self>::TypedHandler headHandler(HeadFn fn) {
  return [fn](Self& self, Args& a) -> Variant {
    auto rs = recordsetArg(a[2]);
    (self.*fn)(sessionArg(a[0]), a.str(1), rs);
    a[2] = Variant(std::static_pointer_cast<automation::Object>(rs));
    return {};
  };
}

automation::MemberBuilder<Self>::TypedHandler lineHandler(LineFn fn) {
  return [fn](Self& self, Args& a) -> Variant {
    auto rs = recordsetArg(a[3]);
    (self.*fn)(sessionArg(a[0]), a.lng(1), a.str(2), rs);
    a[3] = Variant(std::static_pointer_cast<automation::Object>(rs));
    return {};
  };
}

}  // namespace

const automation::MemberTable& PurchaseRefServiceObject::memberTable() const {
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("PurchaseRefService")
          .method("GetOrderHeads",
                  {in("oSession", "Object"), in("sWhere", "String"), ref("rs", "Recordset")}, "",
                  headHandler(&Self::getOrderHeads))
          .method("GetArrivalHeads",
                  {in("oSession", "Object"), in("sWhere", "String"), ref("rs", "Recordset")}, "",
                  headHandler(&Self::getArrivalHeads))
          .method("GetOrderLines",
                  {in("oSession", "Object"), in("lOrderId", "Long"), in("sWhere", "String"),
                   ref("rs", "Recordset")},
                  "", lineHandler(&Self::getOrderLines))
          .method("GetArrivalLines",
                  {in("oSession", "Object"), in("lArrivalId", "Long"), in("sWhere", "String"),
                   ref("rs", "Recordset")},
                  "", lineHandler(&Self::getArrivalLines))
          .method("GetDeliveryHeads",
                  {in("oSession", "Object"), in("sWhere", "String"), ref("rs", "Recordset")}, "",
                  headHandler(&Self::getDeliveryHeads))
          .method("GetDeliveryLines",
                  {in("oSession", "Object"), in("sWhere", "String"), ref("rs", "Recordset")}, "",
                  headHandler(&Self::getDeliveryLines))
          .method("GetInvClassGradeLengths",
                  {in("oSession", "Object"), ref("colLengths", "Collection")}, "",
                  invClassGradeLengthsMember)
          .property(
              "ShowClosed", "Boolean",
              [](Self& self, Args&) -> Variant { return Variant(self.showClosed()); },
              [](Self& self, Args& a) -> Variant {
                self.setShowClosed(a.value().toBool());
                return {};
              })
          .build();
  return table;
}

}  // namespace quillon::components::suite
