#include "module/session.h"

#include "ado/connection.h"
#include "automation/com_error.h"
#include "automation/error_info.h"
#include "components/marlin_login.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "module/module_state.h"

namespace quillon::module {

std::shared_ptr<ado::Connection> OpenSession(
    const std::shared_ptr<components::MarlinLogin>& login) {
  using automation::ComError;
  if (!login) {
    throw ComError::objectNotSet();
  }
  auto connection = std::make_shared<ado::Connection>();
  connection->open(login->connectionText(), "", "", ado::adOptionUnspecified);

  auto context =
      components::createAs<components::SessionContext>(components::kSessionContextProgId);
  if (!context->initialise(login)) {
    throw ComError(automation::kAutomationError, "The session context cannot be opened");
  }
  gContext = context;

  auto profile =
      components::createAs<components::SessionProfile>(components::kSessionProfileProgId);
  auto builder = components::createAs<components::SessionContextBuilder>(
      components::kSessionContextBuilderProgId);
  builder->setContext(gContext);
  builder->fillProfile(login->firstIdentity(), login->secondIdentity(), *profile);
  gContext->setProfile(profile);
  return connection;
}

}  // namespace quillon::module
