#include "module/account_settings.h"

#include "automation/com_error.h"
#include "components/session_context.h"
#include "module/module_state.h"

namespace quillon::module {

components::AccountSettings& CurrentAccountSettings() {
  if (!gContext) throw automation::ComError::objectNotSet();
  auto settings = gContext->accountSettings();
  if (!settings) throw automation::ComError::objectNotSet();
  return *settings;
}

}  // namespace quillon::module
