#include "module/module_state.h"

#include "ado/recordset.h"
#include "automation/error_info.h"
#include "components/session_context.h"
#include "components/suite_utility.h"

namespace quillon::module {

namespace {
std::string lastReferText;
}  // namespace

std::shared_ptr<components::SessionContext> gContext;
const std::shared_ptr<automation::ErrorInfo> gErrInfo = components::suiteUtility()->errorInfo();
std::int32_t gVouchType = 0;
bool gIsSTQc = false;
std::string gSQL;
std::int16_t gColumnIndex = 0;
bool gHeadLayoutDone = false;
bool gBodyLayoutDone = false;
std::int32_t gWhNameColumn = 0;
std::int32_t gWhCodeColumn = 0;
std::int32_t gRowKeyColumn = 0;
std::int32_t gStartsIndex = 0;
std::shared_ptr<ado::Recordset> gReturnInvRecordset;
std::string gReturnInvWhere;

const std::string& LastReferText() {
  return lastReferText;
}
void setLastReferText(std::string text) {
  lastReferText = std::move(text);
}

}  // namespace quillon::module
