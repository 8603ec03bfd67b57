// The suite's purchase reference service on the account database (what it offers is described in
// components/purchase_ref_service.h). Late-bound members: GetOrderHeads(oSession, sWhere, rs),
// GetArrivalHeads(oSession, sWhere, rs), GetOrderLines(oSession, lOrderId, sWhere, rs),
// GetArrivalLines(oSession, lArrivalId, sWhere, rs), GetDeliveryHeads(oSession, sWhere, rs),
// GetDeliveryLines(oSession, sWhere, rs), with rs by reference; ShowClosed (get/let).
#pragma once

#include "components/purchase_ref_service.h"

namespace quillon::components::suite {

class PurchaseRefServiceObject;

// The late-bound GetInvClassGradeLengths(oSession, colLengths).
automation::Variant invClassGradeLengthsMember(PurchaseRefServiceObject& self, automation::Args& a);

class PurchaseRefServiceObject final : public PurchaseRefService {
 public:
  void getOrderHeads(SessionContext& session, const std::string& where, RecordsetPtr& rs) override;
  void getArrivalHeads(SessionContext& session, const std::string& where,
                       RecordsetPtr& rs) override;
  void getOrderLines(SessionContext& session, std::int32_t orderId, const std::string& where,
                     RecordsetPtr& rs) override;
  void getArrivalLines(SessionContext& session, std::int32_t arrivalId, const std::string& where,
                       RecordsetPtr& rs) override;
  void getDeliveryHeads(SessionContext& session, const std::string& where,
                        RecordsetPtr& rs) override;
  void getDeliveryLines(SessionContext& session, const std::string& where,
                        RecordsetPtr& rs) override;

  std::shared_ptr<automation::Collection> invClassGradeLengths(SessionContext& session) override;

  bool showClosed() const override { return showClosed_; }
  void setShowClosed(bool on) override { showClosed_ = on; }

  const automation::MemberTable& memberTable() const override;

 private:
  bool showClosed_ = false;
};

}  // namespace quillon::components::suite
