#include "components/suite/purchase_ref_queries.h"

#include "sql/condition.h"

namespace quillon::components::suite {

namespace {

// Verified documents only; entered (1) and closed (3) ones are never offered.
constexpr const char* kVerified = "2";

// A line with something left to take, by magnitude so that red documents (negative quantities)
// read the same way: an order line while arrivals and receipts together fall short of its
// quantity, an arrival-note line while receipts do.
std::string orderLineOpen(std::string_view l) {
  const std::string t(l);
  return "abs(isnull(" + t + ".iArrQTY, 0)) + abs(isnull(" + t + ".iReceivedQTY, 0)) < abs(" + t +
         ".iQuantity)";
}
std::string deliveryLineOpen(std::string_view l) {
  const std::string t(l);
  return "abs(isnull(" + t + ".fOutQuantity, 0)) < abs(" + t + ".iQuantity)";
}
std::string arrivalLineOpen(std::string_view l) {
  const std::string t(l);
  return "abs(isnull(" + t + ".fValidInQuan, 0)) < abs(" + t + ".iQuantity)";
}

// A head is offered while one of its unclosed lines (`lines`, whose alias is "L") is, and with
// ShowClosed off only while that line is still open.
std::string headOffered(std::string_view lines, std::string_view open, bool showClosed) {
  std::string offered = "EXISTS (SELECT 1 FROM " + std::string(lines) + " AND L.cbCloser IS NULL";
  if (!showClosed) offered += " AND " + std::string(open);
  return offered + ")";
}

// The caller's WHERE text, one expression (sql::checkCondition), narrowing the rest as a whole.
std::string callerCondition(std::string_view where) {
  sql::checkCondition(where);
  if (where.empty()) return {};
  return " AND (" + std::string(where) + ")";
}

}  // namespace

std::string orderHeadQuery(std::string_view where, bool showClosed) {
  const std::string offered = headOffered("PO_Podetails L WHERE L.POID = zpurpoheader.poid",
                                          orderLineOpen("L"), showClosed);
  return "SELECT poid, cpoid, dpodate, cptname, cbustype, cvenabbname, cdepname, cpersonname, "
         "cmaker, cverifier, cvencode, cvenname, cdepcode, cpersoncode, cptcode, cexch_name, "
         "nflat, itaxrate, cmemo, istate FROM zpurpoheader WHERE istate = " +
         std::string(kVerified) + " AND " + offered + callerCondition(where) +
         " ORDER BY dpodate, cpoid";
}

std::string arrivalHeadQuery(std::string_view where, bool showClosed) {
  const std::string offered = headOffered("PU_ArrivalVouchs L WHERE L.ID = pu_ArrHead.id",
                                          arrivalLineOpen("L"), showClosed);
  // The order code is kept for the host under a name of its own: the lists caption "cpoid" as
  // the document's number, which on an arrival note is "ccode".
  return "SELECT id, ccode, ddate, cptname, cbustype, cvenabbname, cdepname, cpersonname, "
         "cmaker, cverifier, cpoid AS cordercode, cvencode, cvenname, cdepcode, cpersoncode, "
         "cptcode, ibilltype, cmemo, istate FROM pu_ArrHead WHERE istate = " +
         std::string(kVerified) + " AND " + offered + callerCondition(where) +
         " ORDER BY ddate, ccode";
}

std::string orderLineQuery(std::int32_t orderId, std::string_view where, bool showClosed) {
  std::string sql =
      "SELECT zpurpodetail.* FROM zpurpodetail INNER JOIN Inventory ON Inventory.cInvCode = "
      "zpurpodetail.cinvcode WHERE zpurpodetail.poid = " +
      std::to_string(orderId) +
      " AND zpurpodetail.cbcloser IS NULL AND EXISTS (SELECT 1 FROM PO_Pomain OH WHERE OH.POID = "
      "zpurpodetail.poid AND OH.iState = " +
      std::string(kVerified) + ")";
  if (!showClosed) sql += " AND " + orderLineOpen("zpurpodetail");
  return sql + callerCondition(where) +
         " ORDER BY (SELECT OR1.iRowNo FROM PO_Podetails OR1 WHERE OR1.ID = zpurpodetail.id), "
         "zpurpodetail.id";
}

std::string arrivalLineQuery(std::int32_t arrivalId, std::string_view where, bool showClosed) {
  std::string sql =
      "SELECT pu_ArrBody.* FROM pu_ArrBody INNER JOIN PU_ArrivalVouchs ON PU_ArrivalVouchs.Autoid "
      "= pu_ArrBody.autoid INNER JOIN Inventory ON Inventory.cInvCode = pu_ArrBody.cinvcode WHERE "
      "pu_ArrBody.id = " +
      std::to_string(arrivalId) +
      " AND pu_ArrBody.cbcloser IS NULL AND EXISTS (SELECT 1 FROM PU_ArrivalVouch AH WHERE AH.ID "
      "= pu_ArrBody.id AND AH.iState = " +
      std::string(kVerified) + ")";
  if (!showClosed) sql += " AND " + arrivalLineOpen("pu_ArrBody");
  return sql + callerCondition(where) + " ORDER BY PU_ArrivalVouchs.iRowNo, pu_ArrBody.autoid";
}

std::string deliveryHeadQuery(std::string_view where, bool showClosed) {
  // The caller's WHERE text may name the note's lines (DispatchLists.cwhcode) beside its head and
  // the head's archives, so it is tested inside the lines' EXISTS: a note is one row however many
  // of its lines match.
  std::string lines =
      "EXISTS (SELECT 1 FROM DispatchLists WHERE DispatchLists.DLID = DispatchList.DLID";
  if (!showClosed) lines += " AND " + deliveryLineOpen("DispatchLists");
  lines += callerCondition(where) + ")";
  return "SELECT DispatchList.DLID AS dlid, VouchType.cVouchName AS cbillname, "
         "DispatchList.cDLCode AS cdlcode, DispatchList.cSBVCode AS csbvcode, "
         "DispatchList.dDate AS ddate, SaleType.cSTName AS cstname, "
         "DispatchList.cBusType AS cbustype, Customer.cCusName AS ccusname, "
         "Department.cDepName AS cdepname, Person.cPersonName AS cpersonname, "
         "DispatchList.cMaker AS cmaker, DispatchList.cVerifier AS cverifier, "
         "DispatchList.cCusCode AS ccuscode, Customer.cCusAbbName AS ccusabbname, "
         "DispatchList.cDepCode AS cdepcode, DispatchList.cPersonCode AS cpersoncode, "
         "DispatchList.cSTCode AS cstcode, DispatchList.cVouchType AS cvouchtype, "
         "DispatchList.bReturnFlag AS breturnflag, DispatchList.cexch_name AS cexch_name, "
         "DispatchList.iExchRate AS iexchrate, DispatchList.cShipAddress AS cshipaddress, "
         "DispatchList.cMemo AS cmemo, DispatchList.iState AS istate "
         "FROM DispatchList "
         "LEFT OUTER JOIN VouchType ON VouchType.cVouchType = DispatchList.cVouchType "
         "LEFT OUTER JOIN SaleType ON SaleType.cSTCode = DispatchList.cSTCode "
         "LEFT OUTER JOIN Customer ON Customer.cCusCode = DispatchList.cCusCode "
         "LEFT OUTER JOIN Department ON Department.cDepCode = DispatchList.cDepCode "
         "LEFT OUTER JOIN Person ON Person.cPersonCode = DispatchList.cPersonCode "
         "WHERE DispatchList.iState = " +
         std::string(kVerified) + " AND " + lines +
         " ORDER BY DispatchList.dDate, DispatchList.cDLCode";
}

std::string deliveryLineQuery(std::string_view where) {
  // Every line of a verified note, issued in full or not: the dialog shows what is left as "0".
  return "SELECT DispatchBody.* FROM DispatchBody INNER JOIN DispatchLists ON DispatchLists.AutoID "
         "= DispatchBody.autoid INNER JOIN Inventory ON Inventory.cInvCode = DispatchBody.cinvcode "
         "WHERE EXISTS (SELECT 1 FROM DispatchList DH WHERE DH.DLID = DispatchLists.DLID AND "
         "DH.iState = " +
         std::string(kVerified) + ")" + callerCondition(where) +
         " ORDER BY DispatchLists.DLID, DispatchLists.iRowNo, DispatchLists.AutoID";
}

}  // namespace quillon::components::suite
