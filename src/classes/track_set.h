// TrackSet: write-back of tracked out-counts ("Quillon.TrackSet"). A stock-voucher host calls it
// while saving an out-voucher whose lines are tracked against a receipt line: AllowWritCount
// checks that the amount about to be written back is still covered, WritCountofRD_CS writes it
// onto the receipt line (its iSOutQuantity / iSOutNum) or onto the matching CurrentStock row.
//
// Both work on the host's connection and on the current rows of its head and body recordsets, and
// trap every error: they return False with "TrackSet:<method>" + number + CRLF + text in ErrMsg.
// Refusals come the same way, before any statement runs: a record id that is not a whole number
// as the database reads a text as an int (spaces around it and a sign before the digits are
// allowed, so " 39" and "+39" are 39; where a statement would carry it; 13 and
// kRdsIdNotInteger), a body quantity that is not a
// number (13) or Null (94), a stock write whose row condition would be empty (5 and
// kStockRowUnknown). Values enter the statements as literals, so none can change what they do.
#pragma once

#include <memory>
#include <string>

#include "automation/dispatch.h"

namespace quillon::ado {
class Connection;
class Recordset;
}  // namespace quillon::ado
namespace quillon::automation {
class ClassRegistry;
}

namespace quillon::classes {

inline constexpr const char* kTrackSetProgId = "Quillon.TrackSet";
inline constexpr const char* kTrackSetClsid = "{F3FCF73B-EF0C-470F-B0FF-BA15A3F4E6D1}";

inline constexpr const char* kRdsIdNotInteger = "入库记录号[%]不是整数";
inline constexpr const char* kStockRowUnknown =
    "没有确定结存记录的仓库、存货、批号或自由项，不能写结存";

class TrackSet : public automation::Object {
 public:
  const automation::MemberTable& memberTable() const override;

  bool WritCountofRD_CS(const std::string& sRdsID, ado::Recordset* rsHead, ado::Recordset* rsBody,
                        ado::Connection* oCon, bool bRDorCS, std::string& ErrMsg, bool bIO = true);
  // `oInventory` answers the piece-count flag: an inventory item of the suite, or any object with
  // a "bNotCheckNum" property.
  bool AllowWritCount(const std::string& sRdsID, ado::Recordset* rsHead, ado::Recordset* rsBody,
                      ado::Connection* oCon, const automation::ObjectPtr& oInventory,
                      std::string& ErrMsg, bool bRDorCS = true);

  // The statement WritCountofRD_CS runs; raises the refusals above.
  static std::string writeStatement(const std::string& sRdsID, ado::Recordset* rsHead,
                                    ado::Recordset& rsBody, bool bRDorCS, bool bIO);
};

void registerTrackSet(automation::ClassRegistry& registry);

}  // namespace quillon::classes
