// ProductionOrderService: the suite's production-order queries (heads, product lines, materials)
// and the write-backs of issued quantities and of the closed flag of a product line.
//
// Queries. Each fills `rs` with a new client-side recordset on `conn` (the connection comes back
// unchanged) and sets `result` True; on failure `rs` is left as it was, `errMsg` gets the reason
// and `result` is False. The recordsets' first field is their key, which the lists show as the
// row text: heads "id", product lines "mainid" (SQL key "pp_pomain.mainid"), materials "subid".
// Their source text ends in a WHERE clause, followed by " ORDER BY ..." for heads and lines, so
// that a caller can narrow a re-read by inserting " AND <condition>" before the ORDER BY.
//
//  - `where` (heads) is a condition on the columns of pp_poheader (cCode, dDate, cDepCode,
//    cPersonCode, cVenCode, iProperty ...); "" for none. It is used as it is: the caller keeps
//    typed text out of it. A `where` or `invCondition` that is not one expression
//    (sql::checkCondition) fails the query with that error's text before anything runs.
//  - `state` is the document state an order must have to be listed (iState: 1 entered,
//    2 verified, 3 closed); the dialogs ask for 2.
//  - `openOnly` True lists only product lines that still have something to take (see below);
//    False also lists lines fully executed but not closed. Closed lines are never listed, and a
//    head is listed only when it has a line the same rule lists.
//  - `invCondition` (lines and materials) is an inventory permission condition on cInvCode, or
//    "" for an unrestricted user.
//
// Variants: the plain queries serve material issues (a line is open while one of its materials
// not taken by a limit requisition has quantity left to issue; icurquantity is the quantity of
// products whose materials are still to be issued as complete kits); the OI queries serve
// outsourced issues (only orders of outsourced processing, iProperty 2, otherwise as plain); the
// type-39 queries serve product receipts (a line is open while fQuantity exceeds fInQuantity;
// icurquantity is the quantity still to receive).
//
// Materials: the materials of one product line that are not taken by a limit requisition;
// iCurOutQuantity is what `lineQuantity` products need of the material, less what has been issued
// (never below 0).
//
// Writes. `errMsg` is "" on success and the reason otherwise; on a refusal nothing is written.
// The connection comes back as it was given. Refused: an unknown line, a line or order that is
// closed (or not verified), an issued quantity that would fall below zero, or one beyond the
// line's quantity — beyond quantity × (1 + the item's fOutExcess) when the account option
// "OverDispOut" allows over-issue. A non-empty `invCode` must be the material's item code.
//  - writeOutQuantity: adds `quantity` (negative to take back) to the issued quantity of material
//    line `subId` (pp_POMaterial.SubID).
//  - writeOutQuantityOI: issues `quantity` complete kits of product line `subId`
//    (pp_POLine.MainID): every material of the line (only those of item `invCode` when given)
//    receives quantity × its share per product, all or none.
//  - writeClosed: closes product line `subId` (bClose True) or opens it again (False); closing a
//    closed line or opening an open one is refused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "components/session_context.h"

namespace quillon::ado {
class Connection;
class Recordset;
}  // namespace quillon::ado

namespace quillon::components {

inline constexpr std::string_view kProductionOrderServiceProgId =
    "Quillon.Suite.ProductionOrderService";

// The state a listed order must have, as the dialogs pass it.
inline constexpr std::int32_t kVerifiedOrderState = 2;

class ProductionOrderService : public automation::Object {
 public:
  using RecordsetPtr = std::shared_ptr<ado::Recordset>;
  using ConnectionPtr = std::shared_ptr<ado::Connection>;

  // Optional: the session whose user is recorded as the closer of a line.
  virtual void setContext(std::shared_ptr<SessionContext> context) = 0;

  virtual void listHeads(const std::string& where, RecordsetPtr& rs, ConnectionPtr& conn,
                         std::string& errMsg, std::int32_t state, bool openOnly, bool& result) = 0;
  virtual void listHeadsOI(const std::string& where, RecordsetPtr& rs, ConnectionPtr& conn,
                           std::string& errMsg, std::int32_t state, bool openOnly,
                           bool& result) = 0;
  virtual void listHeads39(const std::string& where, RecordsetPtr& rs, ConnectionPtr& conn,
                           std::string& errMsg, std::int32_t state, bool openOnly,
                           bool& result) = 0;

  // `headKey` is the head's id as the list shows it.
  virtual void listLines(const std::string& headKey, RecordsetPtr& rs, ConnectionPtr& conn,
                         std::string& errMsg, std::int32_t state, bool openOnly,
                         const std::string& invCondition, bool& result) = 0;
  virtual void listLinesOI(const std::string& headKey, RecordsetPtr& rs, ConnectionPtr& conn,
                           std::string& errMsg, std::int32_t state, bool openOnly,
                           const std::string& invCondition, bool& result) = 0;
  virtual void listLines39(const std::string& headKey, RecordsetPtr& rs, ConnectionPtr& conn,
                           std::string& errMsg, std::int32_t state, bool openOnly,
                           const std::string& invCondition, bool& result) = 0;

  virtual void listMaterials(std::int32_t lineKey, double lineQuantity, RecordsetPtr& rs,
                             ConnectionPtr& conn, std::string& errMsg,
                             const std::string& invCondition, bool& result) = 0;

  virtual void writeOutQuantity(std::int32_t subId, const std::string& invCode, double quantity,
                                ConnectionPtr& conn, std::string& errMsg,
                                const std::string& reserved) = 0;
  virtual void writeOutQuantityOI(std::int32_t subId, const std::string& invCode, double quantity,
                                  ConnectionPtr& conn, std::string& errMsg,
                                  const std::string& reserved) = 0;
  virtual void writeClosed(std::int32_t subId, bool bClose, ConnectionPtr& conn,
                           std::string& errMsg, const std::string& reserved) = 0;
};

}  // namespace quillon::components
