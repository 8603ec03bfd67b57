// PurchaseRefService: the suite's purchase reference queries — the heads and lines of purchase
// orders and purchase arrival notes that a receipt can be made from, and of the sales delivery
// notes that an issue can be made from.
//
// One process-wide instance (purchaseRefService(); CreateObject of its ProgID gives the same
// one), so the ShowClosed switch that one dialog sets is the switch every later query sees.
//
// Queries. Each takes the session first (its connection runs the statement) and a WHERE text
// ("" for none), and hands a new client-side recordset back through `rs`. The WHERE text is used
// as it is, so the caller keeps typed text out of it; one that is not one expression
// (sql::checkCondition) is refused with that error before anything runs, and a statement the
// database refuses raises its error; either leaves `rs` as it was. The names a WHERE text may
// use:
//  - GetOrderHeads: the columns of zpurpoheader (dpodate, cdepname, cpersonname, cCode, cPOId,
//    cVenAbbName, cBusType, cDepCode ...), also qualified "zpurpoheader."; key field "poid".
//  - GetArrivalHeads: the columns of pu_ArrHead (ddate, cdepname, ..., cDepCode), also
//    qualified "pu_ArrHead."; key field "id".
//  - GetOrderLines(order id): the columns of zpurpodetail (dArriveDate unqualified) and
//    "Inventory." (iId, bInvEntrust).
//  - GetArrivalLines(arrival-note id): the columns of pu_ArrBody (cWhName unqualified),
//    "Inventory." and "PU_ArrivalVouchs." (cWhCode).
//  - GetDeliveryHeads: "DispatchList." (dDate, cDLCode, cBusType, cSBVCode, cDepCode ...),
//    "DispatchLists." (cwhcode: a note is offered when one of its lines matches, and listed once),
//    "Department.cDepName", "Person.cPersonName", "Customer.cCusAbbName", "VouchType.cVouchName",
//    "SaleType."; key field "dlid".
//  - GetDeliveryLines: the columns of DispatchBody and "DispatchLists." (DLID, cWhCode, cInvCode);
//    the WHERE text names the note ("DispatchLists.DLID=" + id). Every line of the note, issued in
//    full or not, in line order; the line quantity is the fourth field from the end.
// Line recordsets hold their document's lines in document order and have the field layout of
// their views (db/schema/08_lists.sql): the line quantity is the fourth field from the end, and
// order lines carry the order quantity as "iquantity" with "iarrqty", "ireceivedqty" and the
// item's over-receipt share "finexcess".
//
// What is offered:
//  - Only verified documents (iState 2): closed (3) and entered, unverified (1) ones never, and
//    closed lines (cbCloser set) never.
//  - ShowClosed False (the default): fully executed lines are left out too, and so is a document
//    with no line left. ShowClosed True offers them.
//  - An order line is fully executed when what is on arrival notes and what has been received
//    together reach its quantity (nothing is left to receive from the order); an arrival-note
//    line when what has been received reaches its quantity. Red documents carry negative
//    quantities and compare by magnitude.
// A head is offered when one of its lines is: its other conditions are the WHERE text's.
// Delivery notes: verified (iState 2) only; ShowClosed False leaves out a note whose every line is
// issued in full (|fOutQuantity| reaches |iQuantity|), True lists it.
//
// Inventory-class grades: GetInvClassGradeLengths(oSession, colLengths) hands back a Collection
// whose item g (a Long) is the length of grade g's own part of a class code (GradeDef
// "inventoryclass"), grades in order from 1.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "components/session_context.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::automation {
class Collection;
}

namespace quillon::components {

inline constexpr std::string_view kPurchaseRefServiceProgId = "Quillon.Suite.PurchaseRefService";

class PurchaseRefService : public automation::Object {
 public:
  using RecordsetPtr = std::shared_ptr<ado::Recordset>;

  virtual void getOrderHeads(SessionContext& session, const std::string& where,
                             RecordsetPtr& rs) = 0;
  virtual void getArrivalHeads(SessionContext& session, const std::string& where,
                               RecordsetPtr& rs) = 0;
  virtual void getOrderLines(SessionContext& session, std::int32_t orderId,
                             const std::string& where, RecordsetPtr& rs) = 0;
  virtual void getArrivalLines(SessionContext& session, std::int32_t arrivalId,
                               const std::string& where, RecordsetPtr& rs) = 0;

  virtual void getDeliveryHeads(SessionContext& session, const std::string& where,
                                RecordsetPtr& rs) = 0;
  virtual void getDeliveryLines(SessionContext& session, const std::string& where,
                                RecordsetPtr& rs) = 0;
  // The own code length of each inventory-class grade, item 1 for grade 1.
  virtual std::shared_ptr<automation::Collection> invClassGradeLengths(SessionContext& session) = 0;

  virtual bool showClosed() const = 0;
  virtual void setShowClosed(bool on) = 0;
};

// The process-wide instance, created on first use.
std::shared_ptr<PurchaseRefService> purchaseRefService();

}  // namespace quillon::components
