#include "module/session.h"

#include "ado/connection.h"
#include "automation/com_error.h"
#include "automation/error_info.h"
#include "components/marlin_login.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "module/module_state.h"
#include "module/registry_view_settings.h"

namespace quillon::module {

using automation::ComError;

std::shared_ptr<components::MarlinLogin> LoginArgument(const automation::ObjectPtr& login) {
  auto typed = std::dynamic_pointer_cast<components::MarlinLogin>(login);
  if (login && !typed) throw ComError::typeMismatch();
  if (!typed) throw ComError::objectNotSet();
  return typed;
}

std::shared_ptr<components::SessionContext> OpenContext(
    const std::shared_ptr<components::MarlinLogin>& login, bool fillProfile) {
  if (!login) throw ComError::objectNotSet();
  auto context =
      components::createAs<components::SessionContext>(components::kSessionContextProgId);
  if (!context->initialise(login)) {
    throw ComError(automation::kAutomationError, "The session context cannot be opened");
  }
  // A session's dialogs may be drawn: their arrangement is kept per user from now on.
  InstallViewSettings();
  if (!fillProfile) return context;
  auto profile =
      components::createAs<components::SessionProfile>(components::kSessionProfileProgId);
  auto builder = components::createAs<components::SessionContextBuilder>(
      components::kSessionContextBuilderProgId);
  builder->setContext(context);
  builder->fillProfile(login->firstIdentity(), login->secondIdentity(), *profile);
  context->setProfile(profile);
  return context;
}

std::shared_ptr<ado::Connection> OpenSession(
    const std::shared_ptr<components::MarlinLogin>& login) {
  if (!login) throw ComError::objectNotSet();
  auto connection = login->deskConnection();
  gContext = OpenContext(login, true);
  return connection;
}

}  // namespace quillon::module
