// OutsourcedOrderService: the write-backs of outsourced production orders when a host saves a
// voucher — products received from the vendor, materials issued to him, and the closing of a
// product line.
//
// Every write takes the connection by reference and gives it back as it was; `errMsg` is "" on
// success and the reason otherwise, and on a refusal nothing is written. The last two arguments
// are reserved (callers pass "" and an Empty variant). Common refusals: an unknown line, an order
// that is not verified (iState 2) or is closed (iState 3), a closed product line (cClose set).
//
//  - writeReceipt(mainId, invCode, quantity, took, invalid, ...): product line `mainId`
//    (OM_POMain.MainID) receives `quantity` (negative to take a receipt back). On entry `invalid`
//    is the part of `quantity` that is nonconforming goods accepted by concession (Empty or 0:
//    none; same sign as `quantity`, never larger). The line's fInQuantity grows by `quantity`,
//    fInNum by the pieces the line's unit gives (fixed rate: quantity / rate; floating rate: the
//    line's ordered pieces per quantity; single unit: none), never below 0 nor above fNum.
//    An inspected line (bCheck) books the qualified part against the open qualified quantity of
//    its verified inspection rows (fHGInQuantity, oldest row first; taken back newest first) and
//    the concession part against their nonconformity records (fYBJSInQuantity), with their
//    pieces alike; it is refused beyond what inspection released. On return `took` holds the
//    part booked as qualified (for an uninspected line: all of it) and `invalid` the part booked
//    as concession. Refused also: an item code (when not empty) other than the line's, a
//    concession part on an uninspected line, a received quantity below 0 or above fQuantity —
//    above fQuantity × (1 + the item's fInExcess) when the account option "OverOrder" allows
//    over-receipt.
//  - writeIssue(subId, invCode, quantity, ...): material line `subId` (OM_PODetails.SubID) issues
//    `quantity` more (negative to take back): fOutQuantity grows by it, fOutNum by the pieces
//    the material's unit gives (fixed rate: quantity / rate; floating rate: the line's open pieces
//    per open quantity; single unit: none), never below 0 nor above fNum. Refused also: a product
//    line taken by a limit requisition (bUsed), an item code (when not empty) other than the
//    material's, an issued quantity below 0 or above fQuantity — above fQuantity × (1 + the
//    item's fOutExcess) when the account option "OverDispOut" allows over-issue.
//  - writeClosed(mainId, close, ...): closes product line `mainId` (cClose = the session's user
//    name, or "系统" without a session) or opens it again (cClose NULL); closing a closed line or
//    opening an open one is refused, and so is any change on a closed order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "components/session_context.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::components {

inline constexpr std::string_view kOutsourcedOrderServiceProgId =
    "Quillon.Suite.OutsourcedOrderService";

class OutsourcedOrderService : public automation::Object {
 public:
  using ConnectionPtr = std::shared_ptr<ado::Connection>;

  // Optional: the session whose user is recorded as the closer of a line.
  virtual void setContext(std::shared_ptr<SessionContext> context) = 0;

  virtual void writeReceipt(std::int32_t mainId, const std::string& invCode, double quantity,
                            double& tookQuantity, double& invalidQuantity, ConnectionPtr& conn,
                            std::string& errMsg, const std::string& reserved,
                            const automation::Variant& reservedValue) = 0;
  virtual void writeIssue(std::int32_t subId, const std::string& invCode, double quantity,
                          ConnectionPtr& conn, std::string& errMsg, const std::string& reserved,
                          const automation::Variant& reservedValue) = 0;
  virtual void writeClosed(std::int32_t mainId, bool close, ConnectionPtr& conn,
                           std::string& errMsg, const std::string& reserved,
                           const automation::Variant& reservedValue) = 0;
};

}  // namespace quillon::components
