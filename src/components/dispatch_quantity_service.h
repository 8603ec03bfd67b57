// DispatchQuantityService: writes the issued quantity and pieces of a delivery-note line
// (DispatchLists.fOutQuantity / fOutNum) when a host saves a voucher that issues against it.
//
// write(conn, lineId, invCode, quantity, pieces, errMsg): adds `quantity` and `pieces` (negative
// to take back) to line `lineId` (DispatchLists.AutoID). `errMsg` is "" on success and the reason
// otherwise; on a refusal nothing is written, and the connection comes back as it was given.
// Refused: an unknown line, a closed line or note, an item code (when `invCode` is not empty)
// other than the line's, and an issued quantity that would leave the range between 0 and the
// line's quantity (a red note's quantities are negative, so its range runs from the quantity up
// to 0) — the upper bound widened by the item's fOutExcess when the account option "OverDispOut"
// allows over-issue.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::components {

inline constexpr std::string_view kDispatchQuantityServiceProgId =
    "Quillon.Suite.DispatchQuantityService";

class DispatchQuantityService : public automation::Object {
 public:
  virtual void write(std::shared_ptr<ado::Connection>& conn, std::int32_t lineId,
                     const std::string& invCode, double quantity, double pieces,
                     std::string& errMsg) = 0;
};

}  // namespace quillon::components
