// The module state of ModuleCtl: one set per process, shared by every public class instance and
// every dialog. Only one modal dialog runs at a time, which is what makes sharing it safe; nothing
// here is locked.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quillon::ado {
class Recordset;
}
namespace quillon::automation {
class ErrorInfo;
}
namespace quillon::components {
class SessionContext;
}

namespace quillon::module {

// Session and permission context of the current call; replaced by the next session opening.
extern std::shared_ptr<components::SessionContext> gContext;
// The error-information object of the suite's utility object, taken once for the process.
extern const std::shared_ptr<automation::ErrorInfo> gErrInfo;
// Voucher type of the calling host (72 changes the product-line quantity caption).
extern std::int32_t gVouchType;
// The bIsSTQc flag of the outsourced-order class, as its last assignment left it.
extern bool gIsSTQc;
// The last SQL text a dialog built.
extern std::string gSQL;

// Running column number of SetListColumns; some dialogs also reset it to 0 as a busy flag.
extern std::int16_t gColumnIndex;
// The grid captions of head and body lists are applied once per fill cycle: SetListColumns sets
// these after applying them, the order and delivery dialogs clear them when they refill heads,
// close or confirm.
extern bool gHeadLayoutDone;
extern bool gBodyLayoutDone;
// Grid columns of "cwhname", "cwhcode" and the row key ("id" / "autoid") of the current body grid;
// 0 when the grid has none.
extern std::int32_t gWhNameColumn;
extern std::int32_t gWhCodeColumn;
extern std::int32_t gRowKeyColumn;
// Running index of StartsWithAny.
extern std::int32_t gStartsIndex;

// Return-inventory settings: the inventories the user confirmed last (ReturnInvSet's
// RecordsetValue; Nothing after a confirmation without any, or Quit), and the host condition of
// the picker, kept while the ReturnInvSet instance that was given it lives.
extern std::shared_ptr<ado::Recordset> gReturnInvRecordset;
extern std::string gReturnInvWhere;

// The last text chosen in a lookup.
const std::string& LastReferText();
void setLastReferText(std::string text);

}  // namespace quillon::module
