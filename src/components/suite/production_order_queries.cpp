#include "components/suite/production_order_queries.h"

#include <cstdio>

#include "sql/condition.h"

namespace quillon::components::suite {

namespace {

// Exact decimal text of a quantity placed into a statement.
std::string numberLiteral(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

// The open test of a product line `l` (a pp_POLine row) for the hosts of `kind`: materials still
// to issue for the issue hosts, products still to receive for receipts.
std::string openLineTest(OrderQueryKind kind, std::string_view l) {
  const std::string line(l);
  if (kind == OrderQueryKind::Receipt) {
    return "isnull(" + line + ".fQuantity, 0) - isnull(" + line + ".fInQuantity, 0) > 0";
  }
  return "EXISTS (SELECT 1 FROM pp_POMaterial OM WHERE OM.MainID = " + line +
         ".MainID AND OM.bUsed = 0 AND isnull(OM.fQuantity, 0) - isnull(OM.fOutQuantity, 0) > 0)";
}

// The product lines a head is listed for: not closed, and open when only open ones count.
std::string listedLineTest(OrderQueryKind kind, bool openOnly) {
  std::string test =
      "EXISTS (SELECT 1 FROM pp_POLine OL WHERE OL.ID = pp_poheader.id"
      " AND OL.cClose IS NULL";
  if (openOnly) test += " AND " + openLineTest(kind, "OL");
  return test + ")";
}

// Products whose materials are still to be issued as complete kits: the line's quantity less the
// kits issued so far (the smallest issued share over its materials).
constexpr const char* kKitsToIssue =
    "round(l.fquantity - l.fquantity * isnull((SELECT min(isnull(KM.fOutQuantity, 0) / "
    "KM.fQuantity) FROM pp_POMaterial KM WHERE KM.MainID = l.mainid AND KM.fQuantity <> 0), 0), "
    "6)";

}  // namespace

std::string productionHeadQuery(OrderQueryKind kind, std::string_view where, std::int32_t state,
                                bool openOnly) {
  std::string sql =
      "SELECT id, ccode, ddate, iproperty, cdepcode, cdepname, cpersoncode, cpersonname, "
      "cvencode, cvenname, cmaker, cverifier, dcheckdate, cmemo, istate FROM pp_poheader WHERE "
      "istate = " +
      std::to_string(state) + " AND " + listedLineTest(kind, openOnly);
  if (kind == OrderQueryKind::OutsourcedIssue) sql += " AND iproperty = 2";
  sql::checkCondition(where);
  if (!where.empty()) sql += " AND (" + std::string(where) + ")";
  return sql + " ORDER BY ccode";
}

std::string productionLineQuery(OrderQueryKind kind, std::int32_t headId, std::int32_t state,
                                bool openOnly, std::string_view invCondition) {
  const std::string current =
      kind == OrderQueryKind::Receipt ? std::string("l.icurquantity") : std::string(kKitsToIssue);
  std::string inner =
      "SELECT l.mainid AS mainid, l.cinvcode AS cinvcode, l.cinvname AS cinvname, "
      "l.cinvstd AS cinvstd, l.cinvm_unit AS cinvm_unit, l.fquantity AS fquantity, " +
      current +
      " AS icurquantity, l.finquantity AS finquantity, l.dstartdate AS dstartdate, "
      "l.denddate AS denddate, isnull(l.citemcode, '') AS citemcode, l.citemname AS citemname, "
      "isnull(l.citem_class, '') AS citem_class, l.citem_name AS citem_name, "
      "l.ccheckcode AS ccheckcode, l.id AS id, l.ccode AS ccode, l.iproperty AS iproperty, "
      "l.cwhcode AS cwhcode, l.fnum AS fnum, l.finnum AS finnum, l.igrouptype AS igrouptype, "
      "l.bcheck AS bcheck, l.cfree1 AS cfree1, l.cfree2 AS cfree2, l.cfree3 AS cfree3, "
      "l.cfree4 AS cfree4, l.cfree5 AS cfree5, l.cfree6 AS cfree6, l.cfree7 AS cfree7, "
      "l.cfree8 AS cfree8, l.cfree9 AS cfree9, l.cfree10 AS cfree10 "
      "FROM pp_pomain l INNER JOIN pp_POLine PL ON PL.MainID = l.mainid WHERE l.cclose IS NULL "
      "AND l.istate = " +
      std::to_string(state);
  if (kind == OrderQueryKind::OutsourcedIssue) inner += " AND l.iproperty = 2";
  if (openOnly) inner += " AND " + openLineTest(kind, "PL");
  std::string sql =
      "SELECT * FROM (" + inner + ") pp_pomain WHERE pp_pomain.id = " + std::to_string(headId);
  sql::checkCondition(invCondition);
  if (!invCondition.empty()) sql += " AND (" + std::string(invCondition) + ")";
  return sql + " ORDER BY mainid";
}

std::string productionMaterialQuery(std::int32_t lineId, double lineQuantity,
                                    std::string_view invCondition) {
  // What lineQuantity products need of the material, by its share per product of the line.
  const std::string need = "CASE WHEN isnull(PL.fQuantity, 0) = 0 THEN d.fquantity ELSE " +
                           numberLiteral(lineQuantity) +
                           " * d.fquantity / PL.fQuantity END - d.foutquantity";
  std::string sql =
      "SELECT * FROM (SELECT d.subid AS subid, d.ccode AS ccode, d.cinvcode AS cinvcode, "
      "d.cinvname AS cinvname, d.cinvstd AS cinvstd, d.cinvm_unit AS cinvm_unit, "
      "d.fquantity AS fquantity, d.foutquantity AS foutquantity, CASE WHEN " +
      need + " > 0 THEN round(" + need +
      ", 6) ELSE 0 END AS iCurOutQuantity, d.mainid AS mainid, d.id AS id, "
      "d.cwhcode AS cwhcode, d.cwhname AS cwhname, d.cdepcode AS cdepcode, d.fnum AS fnum, "
      "d.foutnum AS foutnum, d.iwiptype AS iwiptype, d.igrouptype AS igrouptype, "
      "d.cfree1 AS cfree1, d.cfree2 AS cfree2, d.cfree3 AS cfree3, d.cfree4 AS cfree4, "
      "d.cfree5 AS cfree5, d.cfree6 AS cfree6, d.cfree7 AS cfree7, d.cfree8 AS cfree8, "
      "d.cfree9 AS cfree9, d.cfree10 AS cfree10 "
      "FROM pp_podetail d INNER JOIN pp_POLine PL ON PL.MainID = d.mainid "
      "INNER JOIN pp_POHead PH ON PH.ID = PL.ID "
      "WHERE d.bused = 0 AND PL.cClose IS NULL AND PH.iState = 2) pp_podetail "
      "WHERE pp_podetail.mainid = " +
      std::to_string(lineId);
  sql::checkCondition(invCondition);
  if (!invCondition.empty()) sql += " AND (" + std::string(invCondition) + ")";
  return sql + " ORDER BY subid";
}

}  // namespace quillon::components::suite
