// The suite's delivery-note write-back on the account database (rules in
// components/dispatch_quantity_service.h). Late-bound: Write(conn, lLineId, cInvCode, dQuantity,
// [dNum], ErrMsg, [vReserved]) with conn and ErrMsg by reference.
#pragma once

#include "components/dispatch_quantity_service.h"

namespace quillon::components::suite {

class DispatchQuantityServiceObject final : public DispatchQuantityService {
 public:
  void write(std::shared_ptr<ado::Connection>& conn, std::int32_t lineId,
             const std::string& invCode, double quantity, double pieces,
             std::string& errMsg) override;

  const automation::MemberTable& memberTable() const override;
};

}  // namespace quillon::components::suite
