#include "components/suite/account_check.h"

#include "components/suite/rows.h"
#include "sql/database.h"

namespace quillon::components::suite {

namespace {

constexpr std::size_t kExamples = 5;

// The columns that name one balance of a bin position or one stock row.
constexpr const char* kSameItem =
    "p.cWhCode = s.cWhCode AND p.cPosCode = s.cPosCode AND p.cInvCode = s.cInvCode AND "
    "p.cBatch = s.cBatch AND p.cFree1 = s.cFree1 AND p.cFree2 = s.cFree2 AND "
    "p.cFree3 = s.cFree3 AND p.cFree4 = s.cFree4 AND p.cFree5 = s.cFree5 AND "
    "p.cFree6 = s.cFree6 AND p.cFree7 = s.cFree7 AND p.cFree8 = s.cFree8 AND "
    "p.cFree9 = s.cFree9 AND p.cFree10 = s.cFree10";

struct Check {
  const char* name;
  std::string query;  // the wrong rows
};

std::string orphans(const char* lines, const char* key, const char* heads, const char* headKey) {
  return std::string("SELECT l.* FROM ") + lines + " l WHERE NOT EXISTS (SELECT 1 FROM " + heads +
         " h WHERE h." + headKey + " = l." + key + ")";
}

std::vector<Check> checks() {
  const std::string records =
      std::string(
          "(SELECT sum(CASE WHEN p.bRdFlag = 1 THEN p.iQuantity ELSE -p.iQuantity END) "
          "FROM InvPosition p WHERE ") +
      kSameItem + ")";
  return {
      {"bin-position balances against their records",
       "SELECT s.cWhCode, s.cPosCode, s.cInvCode, s.cBatch, s.iQuantity, " + records +
           " AS fromRecords FROM InvPositionSum s WHERE abs(s.iQuantity - isnull(" + records +
           ", 0)) > 0.000001"},
      {"bin-position records without a balance",
       std::string("SELECT p.AutoID, p.cWhCode, p.cPosCode, p.cInvCode, p.cBatch FROM "
                   "InvPosition p WHERE NOT EXISTS (SELECT 1 FROM InvPositionSum s WHERE ") +
           kSameItem + ")"},
      {"batch records against their receipt lines",
       "SELECT b.AutoID, b.RdID, b.fInQuantity, r.iQuantity FROM mainbatch b INNER JOIN "
       "rdrecords r ON r.AutoID = b.RdID WHERE abs(b.fInQuantity - r.iQuantity) > 0.000001"},
      {"batch records without a receipt line", orphans("mainbatch", "RdID", "rdrecords", "AutoID")},
      {"bin-position records of a missing voucher line",
       "SELECT l.* FROM InvPosition l WHERE l.RdsID IS NOT NULL AND NOT EXISTS (SELECT 1 FROM "
       "rdrecords h WHERE h.AutoID = l.RdsID)"},
      {"stock voucher lines without a voucher", orphans("rdrecords", "ID", "rdrecord", "ID")},
      {"production order lines without an order", orphans("pp_POLine", "ID", "pp_POHead", "ID")},
      {"production order materials without a line",
       orphans("pp_POMaterial", "MainID", "pp_POLine", "MainID")},
      {"outsourced order lines without an order", orphans("OM_POMain", "ID", "OM_ProductPO", "ID")},
      {"outsourced order materials without a line",
       orphans("OM_PODetails", "MainID", "OM_POMain", "MainID")},
      {"purchase order lines without an order",
       orphans("PO_Podetails", "POID", "PO_Pomain", "POID")},
      {"arrival note lines without a note",
       orphans("PU_ArrivalVouchs", "ID", "PU_ArrivalVouch", "ID")},
      {"delivery note lines without a note",
       orphans("DispatchLists", "DLID", "DispatchList", "DLID")},
      {"inspection lines without a voucher",
       orphans("qm_ncheckvouchers", "ID", "qm_ncheckvoucher", "ID")},
  };
}

std::string rowText(const Rows& rows, std::size_t i) {
  std::string text;
  for (std::size_t c = 0; c < rows.columns().size(); ++c) {
    const automation::Variant& v = rows.row(i)[c];
    if (v.isNull()) continue;
    if (!text.empty()) text += ", ";
    text += rows.columns()[c] + "=" + v.toString();
  }
  return text;
}

}  // namespace

AccountCheckReport checkAccountDatabase(sql::Database& db) {
  AccountCheckReport report;
  report.engine = db.integrityCheck();
  if (!report.engine.empty()) return report;
  for (const Check& check : checks()) {
    ++report.checks;
    const Rows rows = queryRows(db, check.query);
    if (rows.empty()) continue;
    AccountCheckFinding finding{check.name, rows.size(), {}};
    for (std::size_t i = 0; i < rows.size() && i < kExamples; ++i) {
      finding.examples.push_back(rowText(rows, i));
    }
    report.findings.push_back(std::move(finding));
  }
  return report;
}

std::string AccountCheckReport::text() const {
  std::string out;
  if (!engine.empty()) {
    out += "The engine's integrity check found " + std::to_string(engine.size()) +
           " problem(s) in the file; the account checks did not run:\n";
    for (const std::string& line : engine) out += "  " + line + "\n";
    return out;
  }
  out += "The engine's integrity check found the file sound.\n";
  if (findings.empty()) {
    out += "All " + std::to_string(checks) + " account checks passed.\n";
    return out;
  }
  for (const AccountCheckFinding& f : findings) {
    out += f.check + ": " + std::to_string(f.count) + " row(s)\n";
    for (const std::string& example : f.examples) out += "  " + example + "\n";
    if (f.count > f.examples.size()) {
      out += "  ... and " + std::to_string(f.count - f.examples.size()) + " more\n";
    }
  }
  out += std::to_string(findings.size()) + " of " + std::to_string(checks) +
         " account checks found problems.\n";
  return out;
}

}  // namespace quillon::components::suite
