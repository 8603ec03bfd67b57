// The suite's outsourced-order service on the account database (rules in
// components/outsourced_order_service.h). Late-bound members mirror the typed ones:
// WriteInQuantity(lMainId, cInvCode, dQuantity, dTookQuantity, dInvalidQuantity, conn, ErrMsg,
// sReserved, vReserved), WriteOutQuantity(lSubId, cInvCode, dQuantity, conn, ErrMsg, sReserved,
// vReserved), WriteClosed(lMainId, bClose, conn, ErrMsg, sReserved, vReserved); the quantities
// taken and invalid, connections and ErrMsg by reference.
#pragma once

#include <memory>
#include <string>

#include "components/outsourced_order_service.h"

namespace quillon::components::suite {

class OutsourcedOrderServiceObject final : public OutsourcedOrderService {
 public:
  void setContext(std::shared_ptr<SessionContext> context) override {
    context_ = std::move(context);
  }

  void writeReceipt(std::int32_t mainId, const std::string& invCode, double quantity,
                    double& tookQuantity, double& invalidQuantity, ConnectionPtr& conn,
                    std::string& errMsg, const std::string& reserved,
                    const automation::Variant& reservedValue) override;
  void writeIssue(std::int32_t subId, const std::string& invCode, double quantity,
                  ConnectionPtr& conn, std::string& errMsg, const std::string& reserved,
                  const automation::Variant& reservedValue) override;
  void writeClosed(std::int32_t mainId, bool close, ConnectionPtr& conn, std::string& errMsg,
                   const std::string& reserved, const automation::Variant& reservedValue) override;

  const automation::MemberTable& memberTable() const override;

 private:
  std::shared_ptr<SessionContext> context_;
};

}  // namespace quillon::components::suite
